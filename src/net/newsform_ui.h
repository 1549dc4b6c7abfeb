#pragma once
// The news window "Tarnwick Direct": the project news and internet sites in a
// tree, fetched on "Update", every five minutes, and at start-up when asked.
#include "net/news.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QStatusBar;
class QTreeWidgetItem;
class TepScheme;
class TepSchemePanel;
class TVrnButton;
class TVrnTreeView;

class TfrmNews : public QWidget {
    Q_OBJECT
public:
    explicit TfrmNews(QWidget* parent = nullptr);
    ~TfrmNews() override;

    // Start-up: shows the window and updates it when the server answers.
    void ShowIfConnected();
    void ApplyHotTrackColor(const QColor& colour);
    void ApplyScheme(TepScheme* scheme);
    // The "Update" button's handler; the timer and ShowIfConnected run it too.
    void btnUpdateClick();
    // A click on the tree's selected node.
    void trvNewsClick();

    // The news server (host and port); the build's constant unless a test says otherwise.
    std::string Server = kNewsServerHost;
    bool ShowAtStartUp = false;
    // Raised by the check box with its new state; nothing attaches it by default.
    std::function<void(bool)> OnStartUpChange;

    TNewsManager& Manager() { return *FManager; }
    QTimer tmrNewsUpdate;
    TepSchemePanel* spnlName;
    TVrnButton* btnUpdate;
    QCheckBox* chkStartUp;
    TVrnTreeView* trvNews;
    QStatusBar* StatusBar;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void FillTree();
    std::unique_ptr<TNewsManager> FManager;
    bool FUpdating = false;
};

extern TfrmNews* frmNews;
