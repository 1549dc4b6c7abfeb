#include "pages/controlutils_ui.h"

#include "platform/qtstrings_ui.h"
#include "util/strutils.h"

#include <QAbstractScrollArea>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>

void SelectByPrefix(QLineEdit* edit, QListWidget* list) {
    if (!edit || !list) return;
    std::string prefix = UpperCase(ToAnsi(edit->text()));
    if (prefix.empty()) return;
    for (int i = 0; i < list->count(); ++i) {
        std::string item = UpperCase(ToAnsi(list->item(i)->text()));
        if (item.compare(0, prefix.size(), prefix) == 0) {
            QSignalBlocker block(list);
            list->setCurrentRow(i);
            list->scrollToItem(list->item(i));
            return;
        }
    }
}

void FocusIfVisible(QWidget* control) {
    if (control && control->isVisible() && control->window()->isVisible()) control->setFocus();
}

void ScrollToTop(QAbstractScrollArea* control) {
    if (control && control->verticalScrollBar())
        control->verticalScrollBar()->setValue(control->verticalScrollBar()->minimum());
}
