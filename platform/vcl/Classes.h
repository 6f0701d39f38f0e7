#pragma once
// The base classes of the window library: TObject, the sender of every event, and
// TComponent, a named object that owns its child components (Qt parent and child).
// Every event handler runs through CallGuarded, so that an exception raised inside a
// handler is shown in a message box and the message loop goes on.
#include <functional>
#include <string>

#include <QObject>

namespace vcl {

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

class TComponent : public QObject, public TObject {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }

private:
    TComponent* owner_;
    std::string name_;
};

// Runs `handler`; an exception that leaves it goes to the exception handler in force
// (the application's exception box), and the caller goes on.
void CallGuarded(const std::function<void()>& handler);

// Replaces the handler that shows exceptions escaping an event (the application
// installs its own); returns the previous one.
using ExceptionHandler = std::function<void(const std::string& message)>;
ExceptionHandler SetExceptionHandler(ExceptionHandler handler);

}  // namespace vcl
