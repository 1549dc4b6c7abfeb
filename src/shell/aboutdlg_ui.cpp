#include "shell/aboutdlg_ui.h"

#include "content/quran.h"
#include "content/surahs.h"
#include "controls/vrnbutton.h"
#include "controls/vrnurllabel.h"
#include "platform/dialogs_ui.h"
#include "platform/pictures_ui.h"
#include "platform/qtstrings_ui.h"
#include "shell/appbase.h"

#include <QFrame>
#include <QLabel>
#include <QRandomGenerator>

TfrmAboutDlg* frmAboutDlg = nullptr;

namespace {

struct TQuote {
    const char* Ref;
    const char* Caption;
};
const TQuote kQuotes[4] = {
    {"014.004", "...Allah's Messengers sent to teach us"},
    {"002.256", "...No compulsion in religion, right succeeds over wrong"},
    {"004.136", "...Do not reject Almighty Allah's Messengers, Angels, Books"},
    {"004.165", "...Allah's Messengers have recieved Divine Inspiration"},
};

QLabel* WhiteLabel(QWidget* parent, const QString& text, int size, bool bold, int x, int y, int w,
                   int h) {
    auto* l = new QLabel(text, parent);
    l->setFont(ProgramFont(size, bold));
    l->setStyleSheet("color: white; background: transparent;");
    l->setGeometry(x, y, w, h);
    l->setWordWrap(true);
    return l;
}

} // namespace

TfrmAboutDlg::TfrmAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAboutDlg");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(426, 392);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    if (!frmAboutDlg) frmAboutDlg = this;

    Image1 = new QLabel(this);
    Image1->setGeometry((426 - 353) / 2, 12, 353, 81);
    Image1->setPixmap(QPixmap::fromImage(Artwork("About.png")));

    lblBismillah = WhiteLabel(this, "\"In the Name of Allah, Most Gracious, Most Merciful\"", 8, true,
                              14, 100, 398, 16);
    lblBismillah->setAlignment(Qt::AlignCenter);
    auto* line = new QFrame(this);
    line->setGeometry(14, 122, 398, 1);
    line->setStyleSheet("background: #808080;");

    lblQuote = new QLabel(this);
    lblQuote->setGeometry(14, 130, 397, 117);
    QFont italic = ProgramFont(8);
    italic.setItalic(true);
    lblQuote->setFont(italic);
    lblQuote->setStyleSheet("color: white; background: transparent;");
    lblQuote->setWordWrap(true);
    lblQuote->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lblCredits = WhiteLabel(this,
                            "Halvora reader software by the Halvora developers.\n"
                            "Sample edition written for Halvora; Qur'an verses from the "
                            "Saheeh International translation (quran-json 3.1.2).\n"
                            "Before passing copies on, read the Distribution page: the "
                            "translation's terms are its publisher's.",
                            8, false, 14, 254, 398, 70);
    lblCredits->setStyleSheet("color: #C0C0C0; background: transparent;");

    lblURLTarnwick = new TVrnURLLabel(this);
    lblURLTarnwick->SetURL("halvora.example.org");
    lblURLTarnwick->setText("halvora.example.org");
    lblURLTarnwick->setGeometry(14, 330, 250, 18);
    {
        QFont f = ProgramFont(8);
        lblURLTarnwick->SetNormalFont({f, QColor(0xC0, 0xC0, 0xC0)});
        f.setUnderline(true);
        lblURLTarnwick->SetHighlightFont({f, Qt::white});
    }
    lblURLTarnwick->setToolTip("Visit the Halvora web site");
    lblURLTarnwick->SetOnClick([this] {
        TVrnURLLabel::OpenAddress(lblURLTarnwick->URLType(), lblURLTarnwick->URL());
    });

    btnOK = new TVrnButton("OK", this);
    btnOK->setGeometry(426 - 14 - 75, 392 - 14 - 25, 75, 25);
    btnOK->SetModalResult(mrOk);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
}

TfrmAboutDlg::~TfrmAboutDlg() {
    if (frmAboutDlg == this) frmAboutDlg = nullptr;
}

std::string TfrmAboutDlg::Quotation(int entry) const {
    if (!FQuran || entry < 0 || entry > 3) return {};
    const TQuote& q = kQuotes[entry];
    int32_t s = 0, v = 0;
    ParseVerseRef(q.Ref, s, v);
    std::string text = QuoteText(FQuran->VerseTextByRef(q.Ref));
    return text + "\r\n\r\n" + FormatQuranQuote(FormatVerseRef(s, v), SurahTitle(s, 2), "") +
           q.Caption;
}

void TfrmAboutDlg::showEvent(QShowEvent* e) {
    setWindowTitle(QString("%1 %2").arg(kAppName, kAppVersion));
    std::string quote;
    try {
        quote = Quotation(static_cast<int>(QRandomGenerator::global()->bounded(4)));
    } catch (const std::exception&) {
        quote.clear(); // a translation that cannot answer leaves the quotation empty
    }
    lblQuote->setText(FromAnsiLines(quote));
    QDialog::showEvent(e);
}
