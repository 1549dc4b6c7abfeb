#pragma once
// The start-up window: the splash picture with the gauge that the Qur'an
// module's load drives, shown while the main window loads.
#include "shell/appbase.h"

#include <QWidget>

class QLabel;
class QProgressBar;

class TfrmInit : public QWidget, public TfrmInitBase {
    Q_OBJECT
public:
    explicit TfrmInit(QWidget* parent = nullptr);

    void SetProgressMax(int32_t count) override;
    void SetProgress(int32_t position) override;

    QLabel* Image1;
    QProgressBar* Progress;
    QLabel* Label9;
    QLabel* lblVersion;

    int32_t ProgressMax() const;
    int32_t ProgressPosition() const;
    // How often the gauge repainted (once per change of the percentage it shows).
    int Repaints() const { return FRepaints; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    int FLastPercent = -1;
    int FRepaints = 0;
};
