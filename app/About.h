#pragma once
// The About box: product, version, author and the operating system.

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace vadero {

class TAboutBox : public QDialog {
    Q_OBJECT

  public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* Title;
    QFrame* Panel1;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Programmeur;
    QLabel* Systeme;
    QLabel* VersionWin;
    QPushButton* OKButton;

    // Fills the labels; runs each time the box is shown.
    void FormShow();

  protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace vadero
