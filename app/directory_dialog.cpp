#include "app/directory_dialog.h"

#include "app/message_box.h"
#include "export/export_batch.h"

#include <QDir>
#include <QFileInfo>

namespace tavrin {

DirectoryDialog::DirectoryDialog(MessageSink& messages, QWidget* parent, const QString& start)
    : QFileDialog(parent), m_messages(messages) {
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::ShowDirsOnly);
    setFileMode(QFileDialog::Directory);
    QFileInfo existing(QDir::cleanPath(start));
    QString missing;
    while (!existing.isDir() && !existing.isRoot() && !existing.filePath().isEmpty()) {
        missing = missing.isEmpty() ? existing.fileName()
                                    : existing.fileName() + QDir::separator() + missing;
        existing = QFileInfo(existing.path());
    }
    setDirectory(existing.isDir() ? existing.absoluteFilePath() : QDir::rootPath());
    if (!missing.isEmpty()) {
        selectFile(missing);
    }
}

QString DirectoryDialog::choose(MessageSink& messages, QWidget* parent, const QString& start) {
    DirectoryDialog dialog(messages, parent, start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void DirectoryDialog::accept() {
    const QStringList chosen = selectedFiles();
    if (chosen.size() == 1 && !QFileInfo(chosen.constFirst()).exists()) {
        if (!m_messages.ask(this, QString::fromLatin1(kWarningTitle),
                            QString::fromLatin1(kCreateDirectoryQuestion))) {
            return;
        }
        if (!QDir().mkpath(chosen.constFirst())) {
            m_messages.show(this, QString::fromLatin1(kWarningTitle),
                            QString::fromLatin1(kDirectoryNotCreatedMessage));
            return;
        }
    }
    QFileDialog::accept();
}

} // namespace tavrin
