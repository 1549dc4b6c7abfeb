#pragma once
// Skinned heading strips: a store of bitmaps, a scheme linking it to panels,
// and the panel that paints a tiled wallpaper (or one face colour) inside a
// border cut from the SmBorder strip.
//
//   auto* store = new TepSchemeStore(mainWindow);
//   store->SetWallPaper(WallpaperTile(settings.ColorScheme));
//   store->SetSmBorder(Artwork("SmBorder.bmp"));
//   auto* scheme = new TepScheme(mainWindow);
//   scheme->SetSchemeStore(store);
//   auto* panel = new TepSchemePanel(parentWidget);   // links to the form's scheme
//   panel->SetScheme(scheme);                          // or explicitly
#include <QColor>
#include <QEvent>
#include <QFrame>
#include <QImage>
#include <QObject>
#include <QPointer>

// Sent to a scheme's owner when its store changes.
inline constexpr QEvent::Type kSchemeChangedEvent = QEvent::Type(QEvent::User + 201);

class TepSchemeStore : public QObject {
    Q_OBJECT
public:
    explicit TepSchemeStore(QObject* owner = nullptr);

    // Each setter copies the picture and repaints an owning widget.
    const QImage& ActiveCaption() const { return FActiveCaption; }
    void SetActiveCaption(const QImage& img) { Set(FActiveCaption, img); }
    const QImage& InactiveCaption() const { return FInactiveCaption; }
    void SetInactiveCaption(const QImage& img) { Set(FInactiveCaption, img); }
    const QImage& CaptionButtons() const { return FCaptionButtons; }
    void SetCaptionButtons(const QImage& img) { Set(FCaptionButtons, img); }
    const QImage& Border() const { return FBorder; }
    void SetBorder(const QImage& img) { Set(FBorder, img); }
    const QImage& SmBorder() const { return FSmBorder; }
    void SetSmBorder(const QImage& img) { Set(FSmBorder, img); }
    const QImage& SpeedButton() const { return FSpeedButton; }
    void SetSpeedButton(const QImage& img) { Set(FSpeedButton, img); }
    const QImage& WallPaper() const { return FWallPaper; }
    void SetWallPaper(const QImage& img) { Set(FWallPaper, img); }

signals:
    void Changed();

private:
    void Set(QImage& slot, const QImage& img);

    QImage FActiveCaption, FInactiveCaption, FCaptionButtons, FBorder, FSmBorder, FSpeedButton,
        FWallPaper;
};

class TepScheme : public QObject {
    Q_OBJECT
public:
    explicit TepScheme(QObject* owner = nullptr);

    TepSchemeStore* SchemeStore() const { return FStore; }
    // Links the store (not owned) and tells the owner the scheme changed.
    void SetSchemeStore(TepSchemeStore* store);

signals:
    // The store was replaced, removed or changed its pictures.
    void Changed();

private:
    void NotifyOwner();

    QPointer<TepSchemeStore> FStore;
    QMetaObject::Connection FStoreChanged;
    QMetaObject::Connection FStoreGone;
};

class TepSchemePanel : public QFrame {
    Q_OBJECT
public:
    // Links to the first scheme of the parent's window, when there is one.
    explicit TepSchemePanel(QWidget* parent = nullptr);

    TepScheme* Scheme() const { return FScheme; }
    // Links the scheme and takes the face colour from its store.
    void SetScheme(TepScheme* scheme);
    // The face colour, used when the store has no wallpaper.
    QColor Color() const { return FColor; }
    void SetColor(const QColor& color);
    // The caption, drawn only in the plain look.
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int width) { FBorderWidth = width; }

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;

private:
    void TakeFaceColour();
    void PaintPlain(class QPainter& p);

    QPointer<TepScheme> FScheme;
    QMetaObject::Connection FSchemeChanged;
    QColor FColor{Qt::black};
    QString FCaption;
    int FBorderWidth = 6;
};
