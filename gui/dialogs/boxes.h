// The program's small modal boxes: the How to Play box (THelpBox), the About
// box (TAboutBox) and the OK/Cancel question (TConfirmBox), plus ShowMessage,
// the plain message box every other part of the program reports through, and
// the question whether to try a failed action again.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TableView;

// Shows a plain message box with an OK button. Tests may divert the messages.
void ShowMessage(const QString& text);
using MessageSink = std::function<void(const QString&)>;
// Replaces the message box by `sink`; an empty sink restores the box. The
// application object keeps it (DialogHost); without one, nothing is diverted.
void SetMessageSink(MessageSink sink);

// The system's default beep, sounded by the confirm box when sound is on.
// Tests may count the beeps instead; kept as the message sink is.
using BeepSink = std::function<void()>;
void SetBeepSink(BeepSink sink);

// The rules and instructions, in a scrolling text.
extern const char kHelpText[];

class THelpBox : public QDialog {
  public:
    explicit THelpBox(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1;
    QPushButton* OKButton;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class TAboutBox : public QDialog {
  public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Version;
    QPushButton* OKButton;
};

class TConfirmBox : public QDialog {
  public:
    explicit TConfirmBox(QWidget* parent = nullptr);

    QLabel* Label1;
    QPushButton* OKButton;
    QPushButton* CancelButton;
    // True only when the user pressed OK.
    bool confirmed = false;
    // Widens the box and makes it taller when its text needs more room than
    // the usual two lines; a short question keeps the usual size.
    void FitText();

  private:
    QFrame* bevel_ = nullptr;
};

void ShowHelpBox();
void ShowAboutBox();
// Asks an OK/Cancel question; true when the user pressed OK. Beeps first when
// the game `view` shows has sound on, and the words of `view`'s table not
// spoken yet are told with the question. The box opens centred on the screen, or with the top
// centre of its frame at `topCentre` (global pixels), kept on the screen. `told` is read by a
// screen reader after the text (the box's accessible description).
bool ShowConfirmBox(const TableView& view, const QString& caption, const QString& text,
                    std::optional<QPoint> topCentre = std::nullopt, const QString& told = {});
// Asks whether to try a failed action again: true for `retry`, false for
// `giveUp`. Escape and the title bar's close button try again, so nothing is
// given up without the user choosing it.
bool ShowRetryBox(const QString& caption, const QString& text, const QString& retry,
                  const QString& giveUp);
