#pragma once
// Small utilities for edits, lists and scrollable controls.
class QAbstractScrollArea;
class QLineEdit;
class QListWidget;
class QWidget;

// Selects the first entry that begins with the edit's text (ASCII letters
// compared in capitals) without firing the list's click; otherwise nothing.
void SelectByPrefix(QLineEdit* edit, QListWidget* list);
// Gives the control the focus when it and its window are showing.
void FocusIfVisible(QWidget* control);
// Scrolls the control to its top.
void ScrollToTop(QAbstractScrollArea* control);
