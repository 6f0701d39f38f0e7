#include "forms/ErrorReportWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "com/ClassFactory.h"
#include "forms/IErrorReport.h"

namespace forms {
namespace {

class ErrorReportDialog : public QDialog {
public:
    ErrorReportDialog() {
        setWindowTitle(QStringLiteral("Error Report"));
        text_ = new QPlainTextEdit(this);
        text_->setReadOnly(true);
        text_->setLineWrapMode(QPlainTextEdit::NoWrap);
        const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        text_->setFont(fixed);
        text_->setTabStopDistance(QFontMetrics(fixed).horizontalAdvance(QLatin1Char(' ')) * 4);
        auto* buttons = new QDialogButtonBox(this);
        QPushButton* copy = buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
        QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
        close->setDefault(true);
        connect(copy, &QPushButton::clicked, this,
                [this] { QApplication::clipboard()->setText(text_->toPlainText()); });
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(text_);
        layout->addWidget(buttons);
        resize(640, 360);
    }

    void setReport(const std::string& report) {
        // Line breaks of the report are CR LF; the box wants one break per line.
        QString shown = QString::fromUtf8(report.data(), static_cast<qsizetype>(report.size()));
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text_->setPlainText(shown);
    }

private:
    QPlainTextEdit* text_;
};

class ErrorReportWindow final : public com::Object<IErrorReport> {
public:
    ~ErrorReportWindow() override { delete dialog_; }

    void SetReportText(const std::string& text) override { dialog().setReport(text); }

    void Display(bool modal) override {
        if (modal) {
            dialog().exec();
        } else {
            dialog().show();
            dialog().raise();
        }
    }

private:
    ErrorReportDialog& dialog() {
        if (dialog_ == nullptr) dialog_ = new ErrorReportDialog;
        return *dialog_;
    }

    ErrorReportDialog* dialog_ = nullptr;
};

}  // namespace

void registerErrorReportWindowClass() {
    com::registerClass(CLSID_ErrorReportWindow, "", com::classFactory<ErrorReportWindow>());
}

}  // namespace forms
