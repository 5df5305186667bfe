// Turns the Markdown sources of the program's documents into PDF files at build time.
// Usage: tavrin_docgen SOURCE.md OUTPUT.pdf TITLE
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextStream>

#include <cstdio>

namespace {

constexpr int kResolution = 300;

QString styleSheet() {
    return QStringLiteral("h1 { color: #1f3a68; } h2 { color: #1f3a68; } h3 { color: #1f3a68; }"
                          "table { border-collapse: collapse; }"
                          "th, td { padding: 3px; border: 1px solid #8090a8; }"
                          "code { font-family: monospace; }");
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 4) {
        std::fprintf(stderr, "usage: tavrin_docgen SOURCE.md OUTPUT.pdf TITLE\n");
        return 2;
    }
    QFile source(arguments.at(1));
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "tavrin_docgen: cannot read %s: %s\n", qPrintable(arguments.at(1)),
                     qPrintable(source.errorString()));
        return 1;
    }
    const QString markdown = QTextStream(&source).readAll();

    QTextDocument document;
    document.setDefaultStyleSheet(styleSheet());
    QFont font(QStringLiteral("Serif"));
    font.setStyleHint(QFont::Serif);
    font.setPointSize(10);
    document.setDefaultFont(font);
    document.setMarkdown(markdown);

    QPdfWriter writer(arguments.at(2));
    writer.setTitle(arguments.at(3));
    writer.setCreator(QStringLiteral("Tavrin"));
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
    document.print(&writer);

    if (!QFileInfo(arguments.at(2)).isFile()) {
        std::fprintf(stderr, "tavrin_docgen: %s was not written\n", qPrintable(arguments.at(2)));
        return 1;
    }
    return 0;
}
