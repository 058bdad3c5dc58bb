#pragma once

#include <QApplication>
#include <QColor>
#include <QPalette>

#include <initializer_list>
#include <utility>

// The application's palette with some colours changed, as when the user picks other system colours, while the
// object lives; the palette before it comes back afterwards, whatever the test found.
class ScopedPalette {
public:
    explicit ScopedPalette(std::initializer_list<std::pair<QPalette::ColorRole, QColor>> colours)
        : original_(QApplication::palette()) {
        QPalette palette = original_;
        for (const auto& [role, colour] : colours) {
            palette.setColor(role, colour);
        }
        QApplication::setPalette(palette);
        QCoreApplication::processEvents();
    }
    ~ScopedPalette() {
        QApplication::setPalette(original_);
        QCoreApplication::processEvents();
    }
    ScopedPalette(const ScopedPalette&) = delete;
    ScopedPalette& operator=(const ScopedPalette&) = delete;

private:
    QPalette original_;
};
