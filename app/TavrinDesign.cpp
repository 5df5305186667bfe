// "Program", "Design": runs a design file into an output folder and opens the folder.
#include "app/Tavrin.h"
#include "app/design_host.h"
#include "app/design_progress.h"
#include "app/desktop_shell.h"
#include "app/message_box.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

using namespace tavrin;

namespace {

constexpr const char* kDesignTitle = "Design";
constexpr const char* kDesignFileFilter = "Design files (*.toml);;All files (*)";

// Beside the design file, named after it: designs/plan.toml writes into designs/plan-out.
QString defaultOutputDirectory(const QString& designFile) {
    const QFileInfo file(designFile);
    return file.dir().filePath(file.completeBaseName() + QStringLiteral("-out"));
}

} // namespace

void TRG::setDesignHost(DesignHost* host) {
    m_designHost = host;
    ui.Design1->setEnabled(host != nullptr);
}

void TRG::Design1Click() {
    if (m_designHost == nullptr) {
        return;
    }
    const QString designFile =
        m_shell.chooseFile(this, QString::fromLatin1(kDesignTitle), QDir::currentPath(),
                           QString::fromLatin1(kDesignFileFilter));
    if (designFile.isEmpty()) {
        return;
    }
    const QString outDir = m_shell.chooseDirectory(this, defaultOutputDirectory(designFile));
    if (outDir.isEmpty()) {
        return;
    }
    design::DesignRunOptions options;
    options.designFile = QDir::toNativeSeparators(designFile).toStdString();
    options.outDir = QDir::toNativeSeparators(outDir).toStdString();
    DesignProgressDialog progress(this);
    const design::DesignRunResult result = progress.run(*m_designHost, options);
    if (result.error) {
        m_messages.show(this, QString::fromLatin1(kDesignTitle),
                        QString::fromStdString(*result.error));
    } else if (!result.interrupted) {
        m_shell.openUrl(QUrl::fromLocalFile(outDir));
    }
}
