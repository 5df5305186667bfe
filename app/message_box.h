#pragma once

#include <QString>

class QWidget;

namespace tavrin {

// Every message the windows show goes through one sink, so tests can read and answer them
// without a person at the screen. The boxes are modal.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // A box with an OK button.
    virtual void show(QWidget* parent, const QString& title, const QString& text) = 0;
    // A box with Yes and No buttons; true only for Yes.
    virtual bool ask(QWidget* parent, const QString& title, const QString& text) = 0;
};

// The platform's message boxes.
class MessageBoxSink : public MessageSink {
public:
    void show(QWidget* parent, const QString& title, const QString& text) override;
    bool ask(QWidget* parent, const QString& title, const QString& text) override;
};

} // namespace tavrin
