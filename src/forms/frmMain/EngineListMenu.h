#pragma once

#include "engines/EngineRows.h"
#include "platform/Prompt.h"

#include <QObject>
#include <QString>

#include <cstddef>

class QAbstractItemView;
class QMenu;
class QPoint;

// The engine list's context menu, opened by the right button, the Menu key and Shift+F10: Export Checked
// Engines, one item per format, each writing the checked rows to a file the user names in the platform's save
// dialog and reporting in the export's box.
class EngineListMenu final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EngineListMenu)

public:
    // Serves `list`, whose rows are `rows`, and reports through `prompt`.
    EngineListMenu(QAbstractItemView& list, const EngineRows& rows, Prompt& prompt);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPoint KeyboardPosition() const;
    void Popup(const QPoint& globalPosition);
    void Export(std::size_t item);
    QString StartFolder() const;

    QAbstractItemView& list_;
    const EngineRows& rows_;
    Prompt& prompt_;
    QMenu* mnuENGINES;
    QMenu* mnuEXPORT;
    QString lastFolder_; // where the last export went, empty before the first
};
