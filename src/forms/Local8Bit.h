#pragma once

#include <QString>

#include <string>

// Engine texts are the system's 8-bit bytes; the windows convert them at this edge only.
inline QString FromLocal8Bit(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToLocal8Bit(const QString& text) {
    return text.toLocal8Bit().toStdString();
}
