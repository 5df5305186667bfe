#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {
class MessageSink;
}

// The seed of the next run, kept as the text of Edit1 ("0" at start). Its "OK" accepts only a
// valid integer and gives the input back to the main window.
class Tseedv : public QWidget {
    Q_OBJECT
public:
    explicit Tseedv(tavrin::MessageSink& messages, QWidget* parent = nullptr);

    void setMainWindow(QWidget* mainWindow) { m_mainWindow = mainWindow; }
    QString seedText() const;

    struct Components {
        QLabel* Label1;
        QLineEdit* Edit1;
        QPushButton* Button1;
    } ui;

public slots:
    void Button1Click();

protected:
    // Enter presses the default button, "OK", wherever the focus is.
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // No close box: leaving the dialog needs a valid seed.
    void closeEvent(QCloseEvent* event) override;

private:
    tavrin::MessageSink& m_messages;
    QWidget* m_mainWindow = nullptr;
};
