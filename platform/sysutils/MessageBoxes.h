#pragma once
// The one seam through which every message box and confirmation of the program
// passes. The program installs an implementation that shows real modal boxes; tests
// install ScriptedMessageBoxes, which records each box and answers from a queue.
// Calls may come from the worker thread; an implementation must be safe for that.
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace sysutils {

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };
// None lets the implementation choose (a question mark for Yes/No questions).
enum class MessageIcon { None, Exclamation };

struct MessageBox {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;

    bool operator==(const MessageBox&) const = default;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows one modal box and returns the button that closed it.
    virtual MessageAnswer show(const MessageBox& box) = 0;
    // Sounds the system's alert (some boxes are announced by one).
    virtual void beep() {}
};

// The implementation in force. Without one installed, boxes are written to standard
// error and answered Ok (or No, for a question).
MessageBoxes& messageBoxes();
void installMessageBoxes(MessageBoxes* boxes);

// A modal box with the text, the caption and an OK button.
void ShowMessage(const std::string& text, const std::string& caption);
// A question with the buttons Yes and No; true when the answer is Yes.
bool Confirm(const std::string& text, const std::string& caption);
// The system's alert sound.
void Beep();

// Records every box; answers questions from a queue (No when the queue is empty)
// and OK boxes with Ok. Installs itself for its lifetime.
class ScriptedMessageBoxes : public MessageBoxes {
public:
    ScriptedMessageBoxes();
    ~ScriptedMessageBoxes() override;
    ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
    ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;

    MessageAnswer show(const MessageBox& box) override;
    void beep() override;

    void answerNext(MessageAnswer answer);
    int beeps() const;
    std::vector<MessageBox> boxes() const;
    std::vector<std::string> texts() const;
    void clear();

private:
    mutable std::mutex mutex_;
    std::vector<MessageBox> boxes_;
    std::deque<MessageAnswer> answers_;
    int beeps_ = 0;
    MessageBoxes* previous_;
};

// Prints every box to a stream (standard error by default) and answers like the
// scripted boxes; used by the headless engine driver.
class PrintedMessageBoxes : public MessageBoxes {
public:
    MessageAnswer show(const MessageBox& box) override;
};

}  // namespace sysutils
