// A widget that draws its own choices (the card backs, the Hall of Fame's
// rows) and moves among them by keys, shown to a screen reader as a list: one
// item per choice, the current one selected and, while the widget has the
// keyboard, focused. A reader speaks the item each time the keys move the
// current choice (a change of a name alone goes unheard). Also the sort
// buttons of the Hall of Fame, shown as the radio buttons they act as.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QAccessibleEvent;

class ChoiceList : public QWidget {
  public:
    // `name` names the list for a screen reader.
    ChoiceList(QWidget* parent, const QString& name);

    virtual int ChoiceCount() const = 0;
    // The current choice, 0 to ChoiceCount() - 1, or -1 for none.
    virtual int CurrentChoice() const = 0;
    // The words a screen reader speaks for choice `index`.
    virtual QString ChoiceName(int index) const = 0;
    // Where choice `index` is drawn, in the widget's pixels (the whole widget unless told).
    virtual QRect ChoiceRect(int index) const;

  protected:
    // Call after the current choice changed: a screen reader is told it.
    void TellCurrent();
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// Where the lists' events go: Qt's accessibility (null), or a test's recorder;
// the application object keeps it (DialogHost).
void SetChoiceEventSink(void (*sink)(QAccessibleEvent*));

// Shows `button` (checkable, one of an exclusive group) to a screen reader as a
// radio button named `name`.
void ShowAsRadioButton(QAbstractButton* button, const QString& name);
