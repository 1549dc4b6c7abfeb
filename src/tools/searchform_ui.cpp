#include "tools/searchform_ui.h"

#include "content/glossary.h"
#include "content/quran.h"
#include "content/surahs.h"
#include "controls/schemes.h"
#include "controls/vrnbutton.h"
#include "controls/vrnhtml.h"
#include "controls/vrntreeview.h"
#include "pages/composer.h"
#include "platform/qtstrings_ui.h"
#include "util/strutils.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QVBoxLayout>

TfrmSearch* frmSearch = nullptr;

namespace {

constexpr int kHitRole = Qt::UserRole + 1;  // index into the results' hits, -1 for a group
constexpr int kHtmlRole = Qt::UserRole + 2; // the row as rich text
constexpr int kLimitPerKind = 100;

QString Escape(const std::string& utf8) { return QString::fromUtf8(utf8).toHtmlEscaped(); }

// A snippet's hits marked in the rich text of a row.
QString SnippetHtml(const std::string& snippet) {
    QString s = Escape(snippet);
    s.replace(QChar(kHitStart), QStringLiteral("<b style=\"background-color:#FFE060\">"));
    s.replace(QChar(kHitEnd), QStringLiteral("</b>"));
    return s;
}

// Rows drawn as wrapped rich text: a hit's title, then its snippet.
class TResultDelegate : public QStyledItemDelegate {
public:
    explicit TResultDelegate(TVrnTreeView* tree) : QStyledItemDelegate(tree), FTree(tree) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.text.clear();
        const QWidget* w = opt.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, p, w);
        QTextDocument doc;
        Prepare(doc, opt, index);
        p->save();
        p->translate(opt.rect.topLeft() + QPoint(2, 1));
        QAbstractTextDocumentLayout::PaintContext ctx;
        bool selected = opt.state & QStyle::State_Selected;
        ctx.palette.setColor(QPalette::Text, selected ? opt.palette.color(QPalette::HighlightedText)
                                                      : opt.palette.color(QPalette::Text));
        doc.documentLayout()->draw(p, ctx);
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        int depth = 0;
        for (QModelIndex i = index.parent(); i.isValid(); i = i.parent()) ++depth;
        opt.rect.setWidth(FTree->viewport()->width() - FTree->indentation() * (depth + 1));
        QTextDocument doc;
        Prepare(doc, opt, index);
        return {opt.rect.width(), static_cast<int>(doc.size().height()) + 2};
    }

private:
    static void Prepare(QTextDocument& doc, const QStyleOptionViewItem& opt, const QModelIndex& index) {
        doc.setDefaultFont(opt.font);
        doc.setDocumentMargin(1);
        doc.setHtml(index.data(kHtmlRole).toString());
        doc.setTextWidth(std::max(80, opt.rect.width() - 4));
    }
    TVrnTreeView* FTree;
};

QLabel* Caption(QWidget* parent, const QString& text, int size, bool bold, const char* colour) {
    auto* l = new QLabel(text, parent);
    l->setFont(ProgramFont(size, bold));
    l->setStyleSheet(QString("color: %1; background: transparent;").arg(colour));
    return l;
}

} // namespace

const char* SearchKindCaption(TSearchKind kind) {
    switch (kind) {
    case TSearchKind::Story:
        return "Stories";
    case TSearchKind::Document:
        return "Documents";
    case TSearchKind::Glossary:
        return "Glossary";
    case TSearchKind::Quran:
        return "Qur'an";
    }
    return "";
}

TfrmSearch::TfrmSearch(QWidget* parent, TepScheme* scheme) : QDialog(parent) {
    if (!frmSearch) frmSearch = this;
    setWindowTitle(QStringLiteral("Search"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    resize(560, 600);
    setMinimumSize(420, 420);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 8);
    outer->setSpacing(6);
    spnlName = new TepSchemePanel(this);
    spnlName->setFixedHeight(30);
    if (scheme) spnlName->SetScheme(scheme);
    lblWinName = Caption(spnlName, QStringLiteral("Search the Stories, Documents, Glossary and Qur'an"), 10,
                         true, "white");
    auto* head = new QHBoxLayout(spnlName);
    head->setContentsMargins(12, 0, 12, 0);
    head->addWidget(lblWinName);
    outer->addWidget(spnlName);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(12, 0, 12, 0);
    lblFind = Caption(this, QStringLiteral("Find:"), 8, true, "white");
    edtQuery = new QLineEdit(this);
    edtQuery->setFont(ProgramFont(9));
    edtQuery->setPlaceholderText(QStringLiteral("words, or a \"phrase in quotes\""));
    btnSearch = new TVrnButton(QStringLiteral("Search"), this);
    btnSearch->setFixedSize(75, 25);
    row->addWidget(lblFind);
    row->addWidget(edtQuery, 1);
    row->addWidget(btnSearch);
    outer->addLayout(row);

    lblStatus = Caption(this, QString(), 8, false, "#C0C0C0");
    lblStatus->setContentsMargins(12, 0, 12, 0);
    lblStatus->setWordWrap(true);
    outer->addWidget(lblStatus);

    splResults = new QSplitter(Qt::Vertical, this);
    splResults->setHandleWidth(6);
    splResults->setChildrenCollapsible(false);
    trvResults = new TVrnTreeView(splResults);
    trvResults->setHeaderHidden(true);
    trvResults->setIndentation(16);
    trvResults->setFont(ProgramFont(8));
    trvResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    trvResults->setUniformRowHeights(false);
    trvResults->setWordWrap(true);
    trvResults->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    trvResults->setItemDelegate(new TResultDelegate(trvResults));
    {
        QPalette tp = trvResults->palette();
        tp.setColor(QPalette::Base, ColorFromRef(15066597));
        tp.setColor(QPalette::Text, Qt::black);
        trvResults->setPalette(tp);
    }
    Preview = new TVrnHTML(splResults);
    Preview->document()->setDefaultFont(ProgramFont(9));
    Preview->setFrameShape(QFrame::StyledPanel);
    {
        // The page colour, also while nothing is shown.
        QPalette pp = Preview->palette();
        pp.setColor(QPalette::Base, ColorFromRef(kPageBackground));
        Preview->setPalette(pp);
    }
    splResults->addWidget(trvResults);
    splResults->addWidget(Preview);
    splResults->setStretchFactor(0, 3);
    splResults->setStretchFactor(1, 2);
    auto* body = new QHBoxLayout;
    body->setContentsMargins(12, 0, 12, 0);
    body->addWidget(splResults);
    outer->addLayout(body, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 0, 12, 0);
    auto* hint = Caption(this, QStringLiteral("Enter or a double-click opens the page at the hit."), 7, false,
                         "#C0C0C0");
    buttons->addWidget(hint, 1);
    btnClose = new TVrnButton(QStringLiteral("Close"), this);
    btnClose->setFixedSize(75, 25);
    buttons->addWidget(btnClose);
    // Enter belongs to the field (search) and the results (open), never to a
    // default button that would search again under an opened result.
    for (TVrnButton* b : {btnSearch, btnClose}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    outer->addLayout(buttons);

    tmrIndex.setInterval(25);
    connect(&tmrIndex, &QTimer::timeout, this, &TfrmSearch::CheckIndex);
    connect(edtQuery, &QLineEdit::returnPressed, this, &TfrmSearch::RunSearch);
    connect(btnSearch, &QPushButton::clicked, this, &TfrmSearch::RunSearch);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    // Enter (below) and a double-click; not the view's activation, which
    // some styles give a single click.
    connect(trvResults, &QTreeWidget::itemDoubleClicked, this, [this] { OpenSelected(); });
    trvResults->installEventFilter(this);
    connect(trvResults, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { ShowPreview(HitOf(item), false); });
    SetStatus(QStringLiteral("Type a word or a \"phrase\" and press Enter."));
}

TfrmSearch::~TfrmSearch() {
    if (frmSearch == this) frmSearch = nullptr;
}

bool TfrmSearch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == trvResults && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            OpenSelected();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmSearch::SetModules(TQuranHelper* quran, TGlossaryHelper* glossary) {
    FQuran = quran;
    FGlossary = glossary;
}

void TfrmSearch::SetScheme(TepScheme* scheme) { spnlName->SetScheme(scheme); }

void TfrmSearch::SetStatus(const QString& text) { lblStatus->setText(text); }

void TfrmSearch::ShowSearch() {
    show();
    raise();
    activateWindow();
    edtQuery->setFocus();
    edtQuery->selectAll();
    StartIndex();
}

void TfrmSearch::StartIndex() {
    if (FIndexStarted) return;
    FIndexStarted = true;
    // The texts are read here, on the window's thread, where the modules live;
    // the index is built on a worker thread while the window stays responsive.
    FIndex.StartBuild(CollectSources ? CollectSources() : TSearchSources{});
    tmrIndex.start();
}

void TfrmSearch::CheckIndex() {
    if (!FIndex.Ready()) return;
    tmrIndex.stop();
    if (FSearchPending) {
        FSearchPending = false;
        RunSearch();
    }
}

void TfrmSearch::RunSearch() {
    StartIndex();
    if (!FIndex.Ready()) {
        FSearchPending = true;
        SetStatus(QStringLiteral("Preparing the search index..."));
        return;
    }
    QString query = edtQuery->text();
    FResults = FIndex.Search(query.toUtf8().toStdString(), kLimitPerKind);
    FillResults(query.trimmed());
}

void TfrmSearch::FillResults(const QString& query) {
    trvResults->clear();
    Preview->ClearPage();
    if (FResults.EmptyQuery) {
        SetStatus(QStringLiteral("Type a word or a \"phrase\" to search for."));
        return;
    }
    if (FResults.Total() == 0) {
        SetStatus(QStringLiteral("No results for %1. Try another spelling or fewer words.").arg(query));
        return;
    }
    QString counts;
    bool cut = false;
    for (int k = 0; k < kSearchKindCount; ++k) {
        int n = FResults.Counts[static_cast<size_t>(k)];
        if (n > kLimitPerKind) cut = true;
        if (n == 0) continue;
        if (!counts.isEmpty()) counts += QStringLiteral(", ");
        counts += QStringLiteral("%1 in the %2").arg(n).arg(
            k == 2 ? QStringLiteral("glossary") : QString::fromUtf8(SearchKindCaption(static_cast<TSearchKind>(k))).toLower());
    }
    counts.replace(QStringLiteral("the qur'an"), QStringLiteral("the Qur'an"));
    SetStatus(QStringLiteral("%1 %2 for %3: %4.%5")
                  .arg(FResults.Total())
                  .arg(FResults.Total() == 1 ? QStringLiteral("result") : QStringLiteral("results"))
                  .arg(query, counts,
                       cut ? QStringLiteral(" The first %1 of each kind are listed.").arg(kLimitPerKind)
                           : QString()));

    QTreeWidgetItem* kindItem = nullptr;
    QTreeWidgetItem* groupItem = nullptr;
    int kind = -1;
    std::string group;
    std::vector<QTreeWidgetItem*> groups;
    auto groupRow = [](QTreeWidgetItem* item, const QString& text, int count) {
        item->setData(0, kHitRole, -1);
        item->setData(0, kHtmlRole, QStringLiteral("<b>%1</b> (%2)").arg(text.toHtmlEscaped()).arg(count));
    };
    std::vector<int> groupCounts;
    for (size_t i = 0; i < FResults.Hits.size(); ++i) {
        const TSearchHit& h = FResults.Hits[i];
        if (static_cast<int>(h.Kind) != kind) {
            kind = static_cast<int>(h.Kind);
            kindItem = new QTreeWidgetItem(trvResults);
            groupRow(kindItem, QString::fromUtf8(SearchKindCaption(h.Kind)), FResults.Counts[static_cast<size_t>(kind)]);
            kindItem->setExpanded(true);
            groupItem = nullptr;
            group.clear();
        }
        QTreeWidgetItem* parent = kindItem;
        // Stories gather under their prophet.
        if (h.Kind == TSearchKind::Story) {
            if (!groupItem || h.Group != group) {
                group = h.Group;
                groupItem = new QTreeWidgetItem(kindItem);
                groupItem->setExpanded(true);
                groups.push_back(groupItem);
                groupCounts.push_back(0);
            }
            ++groupCounts.back();
            parent = groupItem;
        }
        auto* item = new QTreeWidgetItem(parent);
        item->setData(0, kHitRole, static_cast<int>(i));
        item->setData(0, kHtmlRole, QStringLiteral("<b>%1</b><br>%2").arg(Escape(h.Title), SnippetHtml(h.Snippet)));
        item->setText(0, QString::fromUtf8(h.Title));
    }
    for (size_t g = 0; g < groups.size(); ++g) {
        const TSearchHit* first = HitOf(groups[g]->child(0));
        groupRow(groups[g], first ? QString::fromUtf8(first->Group) : QString(), groupCounts[g]);
    }
    trvResults->expandAll();
    if (QTreeWidgetItem* first = FirstHitItem(FResults.Hits.front().Kind)) trvResults->setCurrentItem(first);
}

const TSearchHit* TfrmSearch::HitOf(QTreeWidgetItem* item) const {
    if (!item) return nullptr;
    bool ok = false;
    int i = item->data(0, kHitRole).toInt(&ok);
    if (!ok || i < 0 || i >= static_cast<int>(FResults.Hits.size())) return nullptr;
    return &FResults.Hits[static_cast<size_t>(i)];
}

QTreeWidgetItem* TfrmSearch::FirstHitItem(TSearchKind kind) const {
    for (QTreeWidgetItemIterator it(trvResults); *it; ++it) {
        const TSearchHit* h = HitOf(*it);
        if (h && h->Kind == kind) return *it;
    }
    return nullptr;
}

void TfrmSearch::ShowPreview(const TSearchHit* hit, bool whole) {
    if (!hit) {
        Preview->ClearPage();
        return;
    }
    const QString hitText = QString::fromUtf8(hit->HitText);
    const std::string head = "<BODY BGCOLOR=\"" + HtmlColor(kPageBackground) + "\"><FONT FACE=Verdana>";
    if (hit->Kind == TSearchKind::Quran && FQuran && IsValidSurah(hit->A)) {
        // A verse has no page of its own: the surah is its page. The preview
        // shows the verses around it; opening shows the whole surah.
        int first = whole ? 1 : std::max(1, hit->B - 2);
        int last = whole ? VerseCount(hit->A) : std::min(VerseCount(hit->A), hit->B + 2);
        std::string html = head + "<B>" + SurahTitle(hit->A, 2) + "</B><BR><BR>";
        for (int v = first; v <= last; ++v) {
            std::string text;
            try {
                text = FQuran->VerseText(hit->A, v);
            } catch (const std::exception&) {
                continue;
            }
            html += "<A NAME=V" + std::to_string(v) + "></A><B>" + std::to_string(hit->A) + ":" +
                    std::to_string(v) + "</B> " + text + "<BR><BR>";
        }
        Preview->ClearPage();
        Preview->LoadFromString(html + "</FONT>");
        Preview->HighlightMatch(hitText, hit->Occurrence, "V" + std::to_string(hit->B));
        return;
    }
    if (hit->Kind == TSearchKind::Glossary && FGlossary && hit->A >= 0 && hit->A < FGlossary->Count()) {
        Preview->ClearPage();
        Preview->LoadFromString(head + FGlossary->TermPage(hit->A, FHighlightColour) + "</FONT>");
        Preview->HighlightMatch(hitText, 0);
        return;
    }
    // Stories and documents: the snippet; opening shows the page itself.
    const std::string where = hit->Group.empty() ? hit->Title : hit->Group + " - " + hit->Title;
    std::string html = head + "<B>" + ToAnsi(Escape(where)) + "</B><BR><BR>";
    QString snippet = SnippetHtml(hit->Snippet);
    Preview->ClearPage();
    Preview->LoadFromString(html + ToAnsi(snippet) + "<BR><BR><FONT COLOR=#606060 SIZE=2>Press Enter to open the page.</FONT></FONT>");
}

void TfrmSearch::OpenSelected() {
    const TSearchHit* hit = HitOf(trvResults->currentItem());
    if (!hit) return;
    switch (hit->Kind) {
    case TSearchKind::Story:
    case TSearchKind::Document:
        if (OpenPage) OpenPage(*hit);
        break;
    case TSearchKind::Glossary:
        if (!OpenGlossaryEntry || !OpenGlossaryEntry(*hit)) ShowPreview(hit, true);
        break;
    case TSearchKind::Quran:
        ShowPreview(hit, true);
        break;
    }
}
