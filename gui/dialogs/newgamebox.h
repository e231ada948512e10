// The New Game dialog TNewGameBox: the players' names, the card back (chosen
// from a picture of the twelve backs), delay, sound, animation and, in debug
// mode, the number of the deal. The full form starts a new game; the reduced
// form, without the player controls, changes the settings of the game under way.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QString>
#include <string>

#include "core/mirror.h"

// The full form (a new game) or the reduced one (settings during a game).
enum class NewGameMode { kNewGame, kSettings };

// What the New Game dialog ended with.
enum NewGameOutcome { kOutcomeNone = 0, kOutcomeStartGame = 1, kOutcomeApplySettings = 2 };

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

// The name as it is stored: "(", ")", "<" and ">" removed (they delimit items and
// names on the wire); nothing left, or one blank, gives "Anonymous".
QString CleanName(const QString& text);
// The name a player gets from the text of a name box: cleaned, cut to 20
// characters and put into the single-byte form of the wire.
std::string StoredName(const QString& text);

class TNewGameBox : public QDialog {
  public:
    // The back chooser: two rows of six backs in cells of 79 x 104.
    static constexpr int kChooserWidth = 466;
    static constexpr int kChooserHeight = 200;
    static constexpr int kChooserLeft = 15;
    static constexpr int kChooserTop = 125;
    static constexpr int kCellWidth = 79;
    static constexpr int kCellHeight = 104;
    static constexpr int kGap = 8;
    static constexpr int kFirstIndex = 2;  // chooser index i shows picture 52 + i
    static constexpr int kLastIndex = 13;
    static constexpr int kReducedBy = 100;  // the settings form is this much shorter

    // Builds the dialog in `mode` and fills it from the mirrored settings and
    // the Hall of Fame table.
    TNewGameBox(NewGameMode mode, GameMirror& mirror, QWidget* parent = nullptr);

    // Outcome so far: kOutcomeNone until OK has been accepted.
    int Outcome() const { return outcome_; }

    // The selected back, 2 to 13: at first the back of the settings, else 2.
    int ChosenBack() const { return chosenBack_; }
    // The chooser picture as drawn at the moment (backs and tick).
    const QImage& ChooserPicture() const { return chooser_; }
    // Top left of the chooser picture in the dialog's client pixels.
    QPoint ChooserPlace() const { return chooserPlace_; }

    // FormMouseDown: a press at (x, y) in client pixels; selects a back when it is on the chooser.
    void FormMouseDown(int x, int y);
    // Selects back `index` (2 to 13): the tick moves there.
    void SelectBack(int index);
    // A back's design in words, as a screen reader names it in the chooser's
    // list: "purple rings".
    static QString BackName(int index);
    void OKButtonClick();
    void CancelButtonClick();
    void HelpButtonClick();
    void GameSoundClick();
    void GameAnimationClick();

    QGroupBox* Player1Group;
    QLabel* Name1;
    QComboBox* PName1;
    QGroupBox* Player2Group;
    QLabel* Name2;
    QComboBox* PName2;
    QLabel* Level2;
    QSpinBox* SpinEdit2;
    QLabel* CardBack;
    // Over the chooser, taking no clicks: the keyboard's way to it. The arrow
    // keys move the tick; a screen reader hears a list of the backs.
    QWidget* BackChooser;
    QFrame* Bevel1;
    QFrame* Bevel2;
    QFrame* Bevel3;
    QFrame* Bevel4;
    QGroupBox* OtherGroup;
    QLabel* GameAnimation;
    QCheckBox* GameAnimateCheckbox;
    QLabel* GameSpeed;
    QSpinBox* SpinEdit3;
    QLabel* GameNumber;
    QSpinBox* GameNumberSpinEdit;
    QLabel* GameSound;
    QCheckBox* GameSoundCheckbox;
    QGroupBox* GroupBox2;
    QPushButton* StartButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;

  protected:
    void paintEvent(QPaintEvent* event) override;  // FormPaint
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void Fill();
    void Reduce();
    // Draws the twelve backs (and the tick on the selected one) at the given pixel ratio.
    void BuildChooser(qreal ratio);
    // Draws the tick on back `index` by exclusive-or: a second drawing removes it.
    void DrawTick(int index);

    NewGameMode mode_;
    GameMirror& mirror_;  // read by Fill, written by OK
    int outcome_ = kOutcomeNone;
    int chosenBack_ = kFirstIndex;
    QImage chooser_;
    QPoint chooserPlace_{kChooserLeft, kChooserTop};
};
