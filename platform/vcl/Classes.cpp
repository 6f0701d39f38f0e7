#include "vcl/Classes.h"

#include <exception>
#include <mutex>

#include "sysutils/MessageBoxes.h"

namespace vcl {
namespace {

std::mutex handlerMutex;

ExceptionHandler& exceptionHandler() {
    static ExceptionHandler handler;
    return handler;
}

void showException(const std::string& message) {
    ExceptionHandler handler;
    {
        std::lock_guard<std::mutex> lock(handlerMutex);
        handler = exceptionHandler();
    }
    if (handler) {
        handler(message);
    } else {
        sysutils::ShowMessage(message, "");
    }
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) : QObject(AOwner), owner_(AOwner) {}

TComponent::~TComponent() = default;

void CallGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        showException(error.what());
    } catch (...) {
        showException("");
    }
}

ExceptionHandler SetExceptionHandler(ExceptionHandler handler) {
    std::lock_guard<std::mutex> lock(handlerMutex);
    ExceptionHandler previous = std::move(exceptionHandler());
    exceptionHandler() = std::move(handler);
    return previous;
}

}  // namespace vcl
