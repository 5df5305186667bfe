#pragma once

#include "app/export_host.h"
#include "app/histogram_geometry.h"
#include "engine/run_settings.h"
#include "session/generation_session.h"

#include <QElapsedTimer>
#include <QMainWindow>

#include <array>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TCSpinButton;
class Tabout;
class Tparam;
class Tsave_files;
class Tseedv;

namespace tavrin {
class DesignHost;
class DesktopShell;
class FieldReader;
class MessageSink;
class PaintBox;
class PictureBox;
struct GenerateInputs;
} // namespace tavrin

// The main window: the input pages, the one command button (Generate, later Save Files), the
// result pages and the menus. It owns the run: the random source, the kept networks, the CI
// histogram and the export pool.
class TRG : public QMainWindow, public tavrin::ExportHost {
    Q_OBJECT
public:
    TRG(tavrin::MessageSink& messages, tavrin::DesktopShell& shell, QWidget* parent = nullptr);
    ~TRG() override;

    void attachDialogs(Tparam* param, Tseedv* seedv, Tsave_files* saveFiles, Tabout* about);
    // The engine behind "Program", "Design"; the item is disabled until one is set.
    void setDesignHost(tavrin::DesignHost* host);

    int runCounter() const { return m_runCounter; }
    // The run, its selection and histograms.
    const tavrin::GenerationSession& session() const { return m_session; }
    // Null before a run has finished.
    const tavrin::NetworkStore* store() const {
        return m_session.hasRun() ? &m_session.store() : nullptr;
    }

    // ExportHost
    bool refreshSelection() override;
    QString selectedCountText() const override;
    tavrin::ExportBatchResult exportFiles(const tavrin::ExportFileSettings& files) override;
    void showMainWindow() override;

    // A range stepper of the Tavrin2 page, for measure 0..3 (I3..I6).
    struct RangeBox {
        QGroupBox* box;
        QFrame* panel;
        tavrin::PaintBox* paint;
        QLabel* highCaption;
        QLabel* lowCaption;
        QLineEdit* high;
        QLineEdit* low;
        TCSpinButton* highSpin;
        TCSpinButton* lowSpin;
    };

    struct Components {
        QMenuBar* MainMenu1;
        QMenu* Program1;
        QAction* Newgeneration1;
        QAction* Design1;
        QAction* N1;
        QAction* Exit1;
        QMenu* Options1;
        QAction* Seed1;
        QMenu* Help1;
        QMenu* Info1;
        QAction* Tutorial1;
        QMenu* Papers1;
        QAction* Tavrin11;
        QAction* Tavrin21;
        QAction* About1;

        QTabWidget* TabControl1;
        QPushButton* Button1;
        QProgressBar* ProgressBar1;

        QFrame* Panel1; // Welcome
        tavrin::PictureBox* Image1;
        tavrin::PictureBox* Image2;
        QLabel* Label5;
        QRadioButton* RadioButton1;
        QRadioButton* RadioButton2;

        QFrame* Panel3; // Max # Networks
        QCheckBox* CheckBox1;
        QLabel* Label6;
        QLineEdit* Edit5;
        TCSpinButton* Spin5;
        QLabel* Label7;
        QLineEdit* Edit6;
        TCSpinButton* Spin6;

        QFrame* Panel4; // Input Parameters
        QLabel* Label8;
        QLineEdit* Edit7;
        TCSpinButton* Spin7;
        QLabel* Label9;
        QLineEdit* Edit8;
        TCSpinButton* Spin8;

        QFrame* Panel5; // Resource Related Measures
        QLabel* Label10;
        QLineEdit* Edit21;
        TCSpinButton* Spin21;
        QLabel* Label11;
        QComboBox* ComboBox2;
        QLabel* Label13;
        QLineEdit* Edit9;
        TCSpinButton* Spin9;
        QLabel* Label14;
        QLineEdit* Edit10;
        TCSpinButton* Spin10;
        QLabel* Label12;
        QComboBox* ComboBox3;
        QLabel* Label15;
        QLineEdit* Edit11;
        TCSpinButton* Spin11;
        QLabel* Label16;
        QLineEdit* Edit12;
        TCSpinButton* Spin12;

        QFrame* Panel2; // Tavrin1 results
        QFrame* Panel11;
        tavrin::PaintBox* PaintBox5;
        QLabel* Label1;
        QLineEdit* Edit1;
        TCSpinButton* CSpinButton1;
        QLabel* Label2;
        QLineEdit* Edit2;
        TCSpinButton* CSpinButton2;
        QLabel* Label3;
        QLabel* Label4;
        std::vector<QLabel*> ciLabels; // one per CI value, created at the first drawing

        QFrame* Panel6; // Tavrin2 results
        QLabel* Label25;
        QLabel* Label26;
        std::array<RangeBox, 4> ranges; // I3, I4, I5, I6
    } ui;

public slots:
    void FormCreate();
    void TabControl1Change();
    void CheckBox1Click();
    void ComboBox2Change();
    void ComboBox3Change();
    void Spin10UpClick();
    void Spin10DownClick();
    void Spin21UpClick();
    void Spin21DownClick();

    void Button1Click();

    void PaintBox1Paint();
    void PaintBox5Paint();

    void Newgeneration1Click();
    void Design1Click();
    void Seed1Click();
    void About1Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Who asked for a drawing: a repaint cannot show a message box while it paints.
    enum class DrawTrigger { Command, Repaint };

    // Frame and menus (Tavrin.cpp).
    void buildFrame();
    void buildMenu();
    void showPage(int index);
    tavrin::FieldReader reader();
    bool tavrin1Chosen() const;
    bool variantChosen() const;

    // Input pages (TavrinPages.cpp).
    void buildWelcomePage();
    void buildNetworksPage();
    void buildParametersPage();
    void buildResourcePage();
    void arrangeTabOrder();
    void connectSteppers();

    // Generate and Save Files (TavrinGenerate.cpp).
    tavrin::GenerateInputs gatherInputs() const;
    void pressWithoutVariant();
    void generate();
    void save();
    QStringList summaryLines(const tavrin::RunSettings& settings) const;
    void runProgress(int maximum, int position);
    void showProblem(const std::string& title, const std::string& text);

    // Result pages (TavrinResults.cpp).
    void buildTavrin1Page();
    void buildTavrin2Page();
    void buildRangeBox(int measure, int x, int y);
    void resultsSetUp(float elapsedSeconds);
    void lockRunInputs();
    bool drawResultPage(DrawTrigger trigger);
    bool drawTavrin1Page(DrawTrigger trigger);
    bool drawTavrin2Page(DrawTrigger trigger);
    void createCiLabels();
    void reportDrawProblem(const std::string& problem, DrawTrigger trigger);
    void stepLow(int measure, int direction);
    void stepHigh(int measure, int direction);
    void stepCiLow(int direction);
    void stepCiHigh(int direction);
    std::vector<tavrin::PixelRun> indicatorRuns(int measure) const;
    std::vector<tavrin::PixelRun> ciRuns() const;

    tavrin::MessageSink& m_messages;
    tavrin::DesktopShell& m_shell;
    tavrin::DesignHost* m_designHost = nullptr;
    Tparam* m_param = nullptr;
    Tseedv* m_seedv = nullptr;
    Tsave_files* m_saveFiles = nullptr;
    Tabout* m_about = nullptr;

    // Runs started in this process; from 1 on the button saves.
    int m_runCounter = 0;
    // Set by Esc or the Stop caption of Button1 during the run; the run loops read it.
    std::atomic<bool> m_stopRequested{false};
    bool m_resultsReady = false;
    bool m_firstCiDrawingDone = false;
    // The run, its selection and the exports from it.
    tavrin::GenerationSession m_session;
    // The last drawing problem reported from a repaint, so a repaint does not repeat it.
    std::string m_reportedDrawProblem;
    QElapsedTimer m_repaintClock;
    qint64 m_lastRepaint = 0;
};
