#pragma once
// A label that opens a web address when clicked, highlighted while the mouse
// is over it.
#include <QColor>
#include <QFont>
#include <QLabel>

#include <functional>
#include <string>

enum TURLType { utHTTP, utFTP, utFILE, utUNC, utNONE };

// A font with its colour, as a label shows it.
struct TVrnFont {
    QFont Font;
    QColor Color;
};

class TVrnURLLabel : public QLabel {
    Q_OBJECT
public:
    static constexpr const char* kDefaultURL = "www.ostravel.example";

    explicit TVrnURLLabel(QWidget* parent = nullptr);

    std::string URL() const { return FURL; }
    // Stores the address; the caption stays as it is.
    void SetURL(const std::string& url);
    TURLType URLType() const { return FURLType; }
    void SetURLType(TURLType type) { FURLType = type; }
    std::string URLPrefix() const { return Prefix(FURLType); }

    TVrnFont HighlightFont() const { return FHighlightFont; }
    void SetHighlightFont(const TVrnFont& font) { FHighlightFont = font; }
    // The normal font and colour, restored when the mouse leaves.
    void SetNormalFont(const TVrnFont& font);

    // Replaces the click behaviour (a form's own handler); empty restores
    // the default, which opens the address.
    void SetOnClick(std::function<void()> handler) { FOnClick = std::move(handler); }

    static std::string Prefix(TURLType type);
    // Opens prefix + address with the desktop; nothing for utNONE.
    static bool OpenAddress(TURLType type, const std::string& address);

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void Apply(const TVrnFont& f);
    TVrnFont Current() const;

    std::string FURL = kDefaultURL;
    TURLType FURLType = utHTTP;
    TVrnFont FHighlightFont;
    TVrnFont FSaved;
    bool FHighlighted = false;
    std::function<void()> FOnClick;
};
