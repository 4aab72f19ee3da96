#include "link/terminal_keys.h"

#include "platform/text_file.h"

#include <Qt>

std::optional<char> terminal_key_byte(int key, int modifiers, const QString& text) {
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (modifiers & (Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    if (ctrl) {
        // The key, not its text: keyboard layouts and platforms disagree on what text a control
        // combination carries, but agree on the key.
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return static_cast<char>(key - Qt::Key_A + 1);
        switch (key) {
        case Qt::Key_At:
        case Qt::Key_Space:
        case Qt::Key_2:
            return '\0';
        case Qt::Key_BracketLeft:
            return '\x1b';
        case Qt::Key_Backslash:
            return '\x1c';
        case Qt::Key_BracketRight:
            return '\x1d';
        case Qt::Key_AsciiCircum:
        case Qt::Key_6:
            return '\x1e';
        case Qt::Key_Underscore:
        case Qt::Key_Minus:
            return '\x1f';
        default:
            return std::nullopt;
        }
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return '\r';
    case Qt::Key_Backspace:
        return '\b';
    case Qt::Key_Tab:
        return '\t';
    case Qt::Key_Escape:
        return '\x1b';
    case Qt::Key_Delete:
        return '\x7f';
    default:
        break;
    }
    if (text.size() != 1)
        return std::nullopt;
    const std::optional<QByteArray> byte = platform::encode_windows1252(text);
    if (!byte || byte->size() != 1)
        return std::nullopt;
    return byte->at(0);
}

QString terminal_key_echo(char byte) {
    const auto code = static_cast<unsigned char>(byte);
    if (byte == '\r')
        return QStringLiteral("\r\n");
    if (byte == '\t')
        return QStringLiteral("\t");
    if (code < 0x20)
        return QLatin1Char('^') + QChar(char16_t(code + 0x40));
    if (code == 0x7f)
        return QStringLiteral("^?");
    return platform::decode_line(QByteArray(1, byte));
}
