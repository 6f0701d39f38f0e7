#include "forms/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "com/Error.h"

namespace forms {
namespace {

const QString rtfType = QStringLiteral("text/rtf");

}  // namespace

void ClipboardObject::Clear() {
    formats_.clear();
    QGuiApplication::clipboard()->clear();
}

void ClipboardObject::SetText(const std::string& text, std::int32_t format) {
    if (format != ClipboardText && format != ClipboardRichText) throw com::runtimeError(com::errors::InvalidProcedureCall);
    formats_[format] = text;
    auto* data = new QMimeData;
    for (const auto& [kind, content] : formats_) {
        if (kind == ClipboardRichText) {
            data->setData(rtfType, QByteArray::fromStdString(content));
        } else {
            data->setText(QString::fromStdString(content));
        }
    }
    QGuiApplication::clipboard()->setMimeData(data);
}

std::string ClipboardObject::GetText(std::int32_t format) {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr) return {};
    if (format == ClipboardRichText) return data->data(rtfType).toStdString();
    if (format == ClipboardText) return data->hasText() ? data->text().toStdString() : std::string();
    throw com::runtimeError(com::errors::InvalidProcedureCall);
}

ClipboardObject& Clipboard() {
    static ClipboardObject clipboard;
    return clipboard;
}

}  // namespace forms
