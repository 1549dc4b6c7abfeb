#include "shell/readernav_ui.h"

#include "controls/menustyles.h"
#include "controls/vrnhtml.h"
#include "controls/vrntreeview.h"
#include "content/documents.h"
#include "content/glossary.h"
#include "shell/mainform_ui.h"
#include "shell/prefs.h"
#include "tools/glossarywin_ui.h"
#include "tools/searchform_ui.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

TReaderNavigation::TReaderNavigation(TfrmMain* main) : QObject(main), FMain(main) {
    FState = LoadReadingState();
    FMain->Browser->SetZoom(FState.Zoom);
    connect(FMain->Browser, &TVrnHTML::ZoomRequested, this, [this](int step) { SetZoom(FState.Zoom + step); });
    // The reader's scrolling moves the current entry's position with it.
    connect(FMain->Browser->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { RememberPosition(); });
    // The mouse's back and forward buttons, anywhere in the main window.
    qApp->installEventFilter(this);
    UpdateActions();
}

void TReaderNavigation::AddMenus(QMenuBar* bar, QMenu* tools) {
    mnuiSearch = new QAction(QStringLiteral("Search..."), FMain);
    mnuiSearch->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(mnuiSearch, &QAction::triggered, this, [this] { ShowSearch(); });
    QList<QAction*> items = tools->actions();
    tools->insertAction(items.size() > 2 ? items[2] : nullptr, mnuiSearch);

    auto* view = new QMenu(QStringLiteral("&View"), bar);
    // Right after the tools menu.
    QAction* before = nullptr;
    QList<QAction*> menus = bar->actions();
    for (int i = 0; i + 1 < menus.size(); ++i)
        if (menus[i]->menu() == tools) before = menus[i + 1];
    bar->insertMenu(before, view);
    mnuiBack = view->addAction(QStringLiteral("Back"));
    mnuiBack->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::Key_Back)});
    mnuiForward = view->addAction(QStringLiteral("Forward"));
    mnuiForward->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::Key_Forward)});
    view->addSeparator();
    mnuiZoomIn = view->addAction(QStringLiteral("Larger Text"));
    mnuiZoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    mnuiZoomOut = view->addAction(QStringLiteral("Smaller Text"));
    mnuiZoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    mnuiZoomNormal = view->addAction(QStringLiteral("Normal Text Size"));
    mnuiZoomNormal->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    // Shortcuts of the window, whichever of its controls has the focus.
    for (QAction* a : {mnuiSearch, mnuiBack, mnuiForward, mnuiZoomIn, mnuiZoomOut, mnuiZoomNormal}) {
        a->setShortcutContext(Qt::WindowShortcut);
        FMain->addAction(a);
    }
    connect(mnuiBack, &QAction::triggered, this, [this] { GoBack(); });
    connect(mnuiForward, &QAction::triggered, this, [this] { GoForward(); });
    connect(mnuiZoomIn, &QAction::triggered, this, [this] { SetZoom(FState.Zoom + 1); });
    connect(mnuiZoomOut, &QAction::triggered, this, [this] { SetZoom(FState.Zoom - 1); });
    connect(mnuiZoomNormal, &QAction::triggered, this, [this] { SetZoom(0); });
    if (FMain->VrnMainMenuStyle1) FMain->VrnMainMenuStyle1->Attach(view);
    UpdateActions();
}

TPageLocation TReaderNavigation::CurrentLocation() const {
    TPageLocation l;
    int32_t d = FMain->SelectedNodeData();
    if (d == kWelcomeNodeData) {
        l.Page = TPageLocation::Welcome;
    } else if (d < 0 && FMain->MainDocs && -d <= FMain->MainDocs->Count()) {
        l.Page = TPageLocation::Document;
        l.DocName = FMain->MainDocs->Items(-d - 1).DocName;
    } else if (d >= 1 && d <= 29) {
        l.Page = TPageLocation::Story;
        l.Prophet = d;
    } else {
        return {};
    }
    l.Position = FMain->Browser->TopPosition();
    return l;
}

bool TReaderNavigation::ShowLocation(const TPageLocation& l) {
    if (!FMain->MainDocs) return false;
    int index = -1;
    switch (l.Page) {
    case TPageLocation::None:
        return false;
    case TPageLocation::Welcome:
        index = FMain->MainDocs->Count();
        break;
    case TPageLocation::Document:
        index = FMain->MainDocs->IndexOfName(l.DocName);
        if (index < 0) return false;
        break;
    case TPageLocation::Story:
        index = FMain->MainDocs->Count() + l.Prophet;
        break;
    }
    if (!CurrentLocation().SamePage(l)) FMain->SelectTreeIndex(index);
    if (!CurrentLocation().SamePage(l)) return false;
    FMain->Browser->ScrollToPosition(l.Position);
    return true;
}

void TReaderNavigation::PageShown() {
    if (FMoving || FJumpDepth > 0) return;
    Visit();
}

void TReaderNavigation::BeginJump() { ++FJumpDepth; }

void TReaderNavigation::EndJump() {
    if (FJumpDepth > 0 && --FJumpDepth == 0 && !FMoving) Visit();
}

void TReaderNavigation::Visit() {
    TPageLocation l = CurrentLocation();
    if (l.Page == TPageLocation::None) return;
    if (FHistory.Current() >= 0 && ParsePageLocation(FHistory[FHistory.Current()]) == l) return;
    // A new visit after going back forgets the pages ahead, as browsers do.
    FHistory.DropAhead();
    FHistory.Add(FormatPageLocation(l));
    UpdateActions();
}

void TReaderNavigation::RememberPosition() {
    if (FMoving || FJumpDepth > 0 || FHistory.Current() < 0) return;
    TPageLocation here = CurrentLocation();
    TPageLocation entry = ParsePageLocation(FHistory[FHistory.Current()]);
    if (entry.SamePage(here)) FHistory.Put(FHistory.Current(), FormatPageLocation(here));
}

void TReaderNavigation::Move(int step) {
    if (step < 0 ? !FHistory.GoBackEnabled() : !FHistory.GoForwardEnabled()) return;
    RememberPosition();
    if (step < 0)
        FHistory.GoBack();
    else
        FHistory.GoForward();
    FMoving = true;
    struct TDone {
        bool& f;
        ~TDone() { f = false; }
    } done{FMoving};
    ShowLocation(ParsePageLocation(FHistory[FHistory.Current()]));
    UpdateActions();
}

void TReaderNavigation::GoBack() { Move(-1); }
void TReaderNavigation::GoForward() { Move(1); }

void TReaderNavigation::UpdateActions() {
    if (mnuiBack) mnuiBack->setEnabled(FHistory.GoBackEnabled());
    if (mnuiForward) mnuiForward->setEnabled(FHistory.GoForwardEnabled());
}

void TReaderNavigation::SetZoom(int steps) {
    steps = std::clamp(steps, kMinZoom, kMaxZoom);
    FMain->Browser->SetZoom(steps);
    if (steps == FState.Zoom) return;
    FState.Zoom = steps;
    SaveState();
}

void TReaderNavigation::SaveState() {
    try {
        SaveReadingState(FState);
    } catch (const std::exception&) {
        // The size and place of the page are a convenience: a settings file
        // that cannot be written costs them, and the reader reads on.
    }
}

bool TReaderNavigation::RestoreLastPage() {
    TPageLocation l = ParsePageLocation(FState.LastPage);
    if (l.Page == TPageLocation::None) return false;
    bool shown = false;
    {
        TJumpScope jump(this);
        shown = ShowLocation(l);
    }
    return shown;
}

void TReaderNavigation::SaveLastPage() {
    FState.LastPage = FormatPageLocation(CurrentLocation());
    SaveState();
}

void TReaderNavigation::ShowSearch() {
    if (!frmSearch) {
        auto* w = new TfrmSearch(FMain, FMain->Scheme);
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        w->SetModules(FMain->QuranModule.get(), FMain->Glossary.get());
        w->CollectSources = [this] {
            return CollectSearchSources(FMain->MainDocs.get(), FMain->Composer.get(), FMain->Stories.get(),
                                        FMain->QuranModule.get(), FMain->Glossary.get());
        };
        w->OpenPage = [this](const TSearchHit& hit) { OpenSearchHit(hit); };
        w->OpenGlossaryEntry = [this](const TSearchHit& hit) {
            if (!frmGloss || !FMain->Glossary || hit.A < 0 || hit.A >= FMain->Glossary->Count()) return false;
            if (!frmGloss->ShowWord(FMain->Glossary->GetTerm(hit.A).Term, true)) return false;
            frmGloss->Browser->HighlightMatch(QString::fromUtf8(hit.HitText), 0);
            return true;
        };
    }
    frmSearch->SetHighlightColour(HighlightColour(FMain->AppliedSettings().ColorWordHL));
    frmSearch->ShowSearch();
}

void TReaderNavigation::OpenSearchHit(const TSearchHit& hit) {
    if (!FMain->MainDocs) return;
    const QString text = QString::fromUtf8(hit.HitText);
    {
        TJumpScope jump(this);
        if (hit.Kind == TSearchKind::Story && hit.A >= 1 && hit.A <= 29) {
            FMain->SelectProphet(hit.A);
            FMain->Browser->HighlightMatch(text, hit.Occurrence,
                                           hit.B >= 0 ? "SUBTOPIC_" + std::to_string(hit.B) : std::string());
        } else if (hit.Kind == TSearchKind::Document && hit.A >= 0 && hit.A < FMain->MainDocs->Count()) {
            FMain->SelectTreeIndex(hit.A);
            FMain->Browser->HighlightMatch(text, hit.Occurrence);
        } else {
            return;
        }
    }
    FMain->raise();
    FMain->activateWindow();
}

bool TReaderNavigation::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto* w = qobject_cast<QWidget*>(watched);
        auto* e = static_cast<QMouseEvent*>(event);
        if (w && w->window() == FMain && (e->button() == Qt::BackButton || e->button() == Qt::ForwardButton)) {
            Move(e->button() == Qt::BackButton ? -1 : 1);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
