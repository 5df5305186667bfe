#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The dialog that reports the end of a run. It stands in for the main window until its "OK".
class Tparam : public QWidget {
    Q_OBJECT
public:
    explicit Tparam(QWidget* parent = nullptr);

    void setMainWindow(QWidget* mainWindow) { m_mainWindow = mainWindow; }
    // Writes the number of kept networks and the run time in whole seconds.
    void report(int networks, int seconds);

    struct Components {
        QLabel* Label1;
        QLabel* Label2;
        QLabel* Label3;
        QLabel* Label4;
        QLabel* Label5;
        QPushButton* Button1;
    } ui;

public slots:
    void Button1Click();

protected:
    // Enter presses the default button, "OK", wherever the focus is.
    void keyPressEvent(QKeyEvent* event) override;
    // No close box: only "OK" brings the main window back.
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* m_mainWindow = nullptr;
};
