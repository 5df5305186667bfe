#pragma once

#include <QFileDialog>

namespace tavrin {

class MessageSink;

// The directory choice: the toolkit's own dialog, so that it always offers a new folder. A name
// typed for a directory that does not exist is created, with its missing parents, once the user
// agrees; a start that does not exist opens its nearest existing parent with the rest typed in.
class DirectoryDialog : public QFileDialog {
    Q_OBJECT
public:
    DirectoryDialog(MessageSink& messages, QWidget* parent, const QString& start);

    // The chosen directory, or an empty text when cancelled.
    static QString choose(MessageSink& messages, QWidget* parent, const QString& start);

public slots:
    void accept() override;

private:
    MessageSink& m_messages;
};

} // namespace tavrin
