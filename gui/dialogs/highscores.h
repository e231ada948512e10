// The Hall of Fame dialog THighScores: the fifteen rows of the Hall of Fame
// table in eight columns under a row of sort buttons. It keeps no data of its
// own; every change of order and the erasing of all records are requests to
// the library.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTextEdit;
class TableView;

// A percentage or points per game as the dialog shows it: one decimal, right
// aligned in at least five characters ("  0.0", " -1.5", "100.0").
QString FormatRate(double value);

// What the dialog's buttons ask of the library, given by whoever opens it:
// the rows fetched again in another order, and every record erased.
struct HallOfFameActions {
    std::function<void(int key)> sortBy;
    std::function<void()> clearAll;
};

class THighScores : public QDialog {
  public:
    // Sort keys of the library's Hall of Fame order.
    enum SortKey { kByName = 1, kByPoints, kByWon, kByLost, kByPlayed, kByPercent, kByPPG };

    // Shows the Hall of Fame rows of the game `view` shows.
    THighScores(QWidget* parent, const TableView& view, HallOfFameActions actions = {});

    // Fills the eight columns from the Hall of Fame table, one line per row.
    void FillColumns();

    void Button2NameClick() { SortBy(kByName); }
    void Button3PointsClick() { SortBy(kByPoints); }
    void Button4WonClick() { SortBy(kByWon); }
    void Button5LostClick() { SortBy(kByLost); }
    void Button6PlayedClick() { SortBy(kByPlayed); }
    void Button7PercentClick() { SortBy(kByPercent); }
    void Button8PPGClick() { SortBy(kByPPG); }
    void ClearButtonClick();
    void OKButtonClick();

    QGroupBox* HighScoresGroup;
    QLabel* TTRank;
    QPushButton* Button2Name;
    QPushButton* Button3Points;
    QPushButton* Button4Won;
    QPushButton* Button5Lost;
    QPushButton* Button6Played;
    QPushButton* Button7Percent;
    QPushButton* Button8PPG;
    QButtonGroup* SortButtons;  // exclusive: exactly one is down
    QTextEdit* LNumber;
    QTextEdit* LName;
    QTextEdit* LPoints;
    QTextEdit* LWon;
    QTextEdit* LLost;
    QTextEdit* LPlayed;
    QTextEdit* LPercent;
    QTextEdit* LPPG;
    // Over the columns: the rows in use, one at a time, for the keyboard and a
    // screen reader (a list of rows, each read with its column names).
    QWidget* Rows;
    QFrame* HiderPanel;
    QFrame* Panel1;
    QPushButton* OKButton;
    QPushButton* ClearButton;

    // Pixels from one line of a column to the next.
    static constexpr int kLineHeight = 13;

  private:
    // Asks the library for the rows in the order of `key`, then shows them.
    void SortBy(int key);

    const TableView& view_;
    HallOfFameActions actions_;
};
