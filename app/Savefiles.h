#pragma once

#include <QWidget>

#include <array>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class UpDown;

namespace tavrin {
class DesktopShell;
class ExportHost;
class MessageSink;
} // namespace tavrin

// The Save Files dialog: a summary of the run's inputs, the target directory, the file name
// prefix, the number of files and the number of the first one. Its fields keep their texts
// between openings; the start number advances past every batch.
class Tsave_files : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSummaryLines = 9;

    Tsave_files(tavrin::MessageSink& messages, tavrin::DesktopShell& shell,
                QWidget* parent = nullptr);

    void setHost(tavrin::ExportHost* host) { m_host = host; }

    // Caps the file count at the selected networks: the stepper's maximum, and the field when
    // it asks for more (then it reads countText). The field must hold an integer.
    void limitFileCount(int selected, const QString& countText);
    // Writes the summary labels from the first on; labels without a line keep their text.
    void setSummary(const QStringList& lines);
    // Shows the dialog with the directory field in the button-face colour.
    void open();

    struct Components {
        QFrame* Panel1;
        std::array<QLabel*, kSummaryLines> summary; // lbl_i1 .. lbl_i6, lbl_res, lbl_rfru, lbl_rcrs
        QFrame* Panel2;
        QLabel* Label1;
        QLineEdit* ed_dir;
        QPushButton* btn_dir;
        QLabel* Label2;
        QLineEdit* Edit2;
        QLabel* Label4;
        QLineEdit* Edit4;
        UpDown* UpDown2;
        QLabel* Label3;
        QLineEdit* Edit3;
        UpDown* UpDown1;
        QLabel* Label5;
        QComboBox* cb_format; // the instance formats written: one of them, or all
        QPushButton* Button2;
        QPushButton* btn_cancel;
    } ui;

public slots:
    void btn_dirClick();
    void btn_cancelClick();
    void Button2Click();

protected:
    // No close box: "OK" or "Cancel" bring the main window back.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildSummary();
    void buildFileSettings();
    void buildFormatChoice();
    bool directoryReady(const QString& directory);
    void Button2ClickChecked();
    void finish();

    tavrin::MessageSink& m_messages;
    tavrin::DesktopShell& m_shell;
    tavrin::ExportHost* m_host = nullptr;
};
