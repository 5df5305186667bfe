#pragma once

#include <QFont>
#include <QString>

#include <initializer_list>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TCSpinButton;

namespace tavrin {

// Components at their design positions (layout::place), each with its given object name.

// A borderless page panel, or with sunken = true a lowered bevel panel.
QFrame* makePanel(QWidget* parent, const char* name, int x, int y, int width, int height,
                  bool sunken = false);
QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text, int x, int y, int width,
                    int height);
// A caption placed by layout::placeCaption beside its field (or alone without one).
QLabel* makeCaption(QWidget* parent, const char* name, const QString& text, int x, int y,
                    const QWidget* field = nullptr);
QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, int x, int y,
                        int width, int height);
// A stepper beside a field: 21 x 30 design pixels.
TCSpinButton* makeSpin(QWidget* parent, const char* name, int x, int y);

// Tab moves from each widget to the next, in the order given.
void setTabChain(std::initializer_list<QWidget*> widgets);

} // namespace tavrin
