#pragma once

#include <QDialog>
#include <QSet>

class QLabel;

namespace halcyra {

class Catalogue;

// The start-up window: product name, version, system and the legal notice. It stays above
// other programs' windows, so it steps aside while any window of ours asks something (the tip
// of the day, a message, an error): such a window would otherwise open underneath it, and
// start-up would wait for an answer the adviser cannot see.
class frmSplash : public QDialog
{
    Q_OBJECT
public:
    explicit frmSplash(const Catalogue& catalogue, QWidget* parent = nullptr);
    ~frmSplash() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_wanted = false; // shown by start-up, whether or not a dialog has it hidden just now
    QSet<QWidget*> m_dialogsUp;
    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* lblPlatform;
    QLabel* lblWarning;
    QLabel* picLogo;
};

} // namespace halcyra
