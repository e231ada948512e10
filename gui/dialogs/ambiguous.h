// The Choose Action dialog (TAmbiguous): asks how to play a hand card when the
// library answers a move with a menu. The menu code says which of Take, Build
// and Block may be chosen; Put and Cancel always may.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TAmbiguous : public QDialog {
  public:
    // Choices, as sent back to the library in the menu answer.
    enum Choice { kCancel = 0, kBuild = 1, kTake = 2, kBlock = 3, kPut = 4 };

    TAmbiguous(int menuCode, QWidget* parent = nullptr);

    // The sentence that follows the fixed request to choose; empty for a code
    // the library never sends.
    static QString Sentence(int menuCode);

    QLabel* Label1;
    QPushButton* TakeButton;
    QPushButton* BuildButton;
    QPushButton* BlockButton;
    QPushButton* PutButton;
    QPushButton* CancelButton;
    // The button pressed; Cancel until one is, and also when the box is closed by its title bar.
    int choice = kCancel;

  private:
    QPushButton* AddButton(const char* caption, int x, Choice result);
};

// Asks how to play an ambiguous card in the Choose Action dialog, placed over
// the dialog owner; menu code 8, 11, 13, 14 or 15. Returns the choice:
// 0 Cancel, 1 Build, 2 Take, 3 Block or 4 Put.
int ChooseAction(int menuCode);
