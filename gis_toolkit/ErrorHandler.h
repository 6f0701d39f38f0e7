#pragma once
// The one error-handling idiom of the extension's procedures:
//
//   std::string aml_func_mod::ReturnDir(const std::string& path) {
//       std::string result;
//       ErrorHandler handler("ReturnDir", module);            // or Report::PassUp
//       handler.run([&] { ...; handler.line(30); ...; result = ...; });
//       return result;
//   }
//
// An error raised inside run() goes to HandleError with the call-stack line
// "<procedure> <module> Line : <n>" (n is the line last marked, 0 when none was) and
// display mode 4. A top-level procedure shows the report there and then returns its
// result as it stood; a pass-up procedure's run() raises the error on to its caller.
// Errors other than the run-time's are reported as the run-time would number them:
// a conversion failure as "Type mismatch", exhausted memory as "Out of memory", an
// index out of range as "Subscript out of range".
#include <cstdint>
#include <exception>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "com/Error.h"
#include "gis_toolkit/Application.h"
#include "gis_toolkit/ErrorHandling.h"
#include "sysutils/Exception.h"

namespace gis_toolkit {

enum class Report {
    TopLevel,  // show the report and return normally
    PassUp,    // add this procedure's line and raise the error to the caller
};

class ErrorHandler {
public:
    ErrorHandler(std::string procedure, std::string module, Report report = Report::TopLevel)
        : procedure_(std::move(procedure)), module_(std::move(module)), report_(report) {}

    // Marks the statement now running, so that a report names its line.
    void line(std::int32_t number) { line_ = number; }

    // The call-stack line of this procedure at the line last marked.
    std::string callStackLine() const {
        return procedure_ + " " + module_ + " " + ErrorHandling::ErrorLineText(line_);
    }

    template <class Body>
    void run(Body&& body) {
        try {
            body();
        } catch (const com::Error& error) {
            handle(error);
        } catch (const sysutils::EConvertError&) {
            handle(com::runtimeError(com::errors::TypeMismatch));
        } catch (const std::bad_alloc&) {
            handle(com::runtimeError(com::errors::OutOfMemory));
        } catch (const std::out_of_range&) {
            handle(com::runtimeError(com::errors::SubscriptOutOfRange));
        } catch (const std::exception& error) {
            handle(com::Error(com::errors::MethodFailed, "", error.what()));
        }
    }

private:
    void handle(const com::Error& error) const {
        ErrorHandling::HandleError(report_ == Report::TopLevel, callStackLine(), error.Number,
                                   error.Source.empty() ? std::string(ApplicationTitle) : error.Source,
                                   error.Description, 4);
    }

    std::string procedure_;
    std::string module_;
    Report report_;
    std::int32_t line_ = 0;
};

}  // namespace gis_toolkit
