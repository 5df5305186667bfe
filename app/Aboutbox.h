#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;

namespace tavrin {
class DesktopShell;
class PictureBox;
} // namespace tavrin

// The about box: the program's picture and name, what it is, and a link to its manual. It can
// stay open beside the main window.
class Tabout : public QWidget {
    Q_OBJECT
public:
    explicit Tabout(tavrin::DesktopShell& shell, QWidget* parent = nullptr);

    // The manual the link opens, beside the program.
    static constexpr const char* kManual = "Tutorial.pdf";

    struct Components {
        QFrame* Panel1;
        tavrin::PictureBox* Image1;
        QLabel* Label1;
        QLabel* Label2;
        QLabel* Label4;
        QLabel* Label5;
        QLabel* Label3;
        QPushButton* Button1;
    } ui;

public slots:
    void Button1Click();
    void Label3Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    tavrin::DesktopShell& m_shell;
};
