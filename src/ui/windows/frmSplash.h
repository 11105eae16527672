#pragma once

#include <QDialog>

class QLabel;

namespace halcyra {

class Catalogue;

// The start-up window: product name, version, system and the legal notice.
class frmSplash : public QDialog
{
    Q_OBJECT
public:
    explicit frmSplash(const Catalogue& catalogue, QWidget* parent = nullptr);

private:
    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* lblPlatform;
    QLabel* lblWarning;
    QLabel* picLogo;
};

} // namespace halcyra
