#pragma once
// Base of every dialog: its help key and "Помощь" button, the optional town block
// (town, latitude, longitude), and the hand-back of the focus to the active child
// window when the dialog goes.
#include <QDialog>
#include <QLineEdit>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/calendar.h"
#include "core/chart_record.h"
#include "data/town_card.h"

class QGridLayout;
class QPushButton;
class QHBoxLayout;

namespace orbeta {

class DirectoryTown;

constexpr int kCmdHelp = 9;
constexpr int kCmdFieldChanged = 199;
constexpr int kCmdTowns = 5020;

// An edit field that reports (command 199) when it loses the focus after its text was
// changed; leaving it unchanged reports nothing.
class NotifyingEdit : public QLineEdit {
    Q_OBJECT
  public:
    using QLineEdit::QLineEdit;
  signals:
    void changedAndLeft();

  protected:
    void focusOutEvent(QFocusEvent* event) override;
};

// What the towns directory is given and gives back.
struct TownQuery {
    std::string town;
    double latitude = 0;
    double longitude = 0;
    double jdLocal = 0;          // the date the time-zone correction is wanted for
    double correctionHours = 0;  // filled by the directory
    TownCard card;               // the chosen town, filled by the directory
};

class Dial : public QDialog {
    Q_OBJECT
  public:
    Dial(QWidget* parent, int resourceId, std::string helpKey, bool townBlock);
    ~Dial() override;

    const std::string& HelpKey() const { return helpKey_; }
    bool HasTownBlock() const { return town_ != nullptr; }
    void SetKeepFocus(bool keep) { keepFocus_ = keep; }

    // The help window and the towns directory are supplied by the features that build
    // them; until then their buttons are disabled.
    static void SetHelpOpener(std::function<void(const std::string& key)> opener);
    static void SetTownDirectory(std::function<bool(TownQuery& query)> directory);
    // Opens the help window on a key (F1 of windows); false while none is installed.
    static bool OpenHelp(const std::string& key);
    // The present UT moment (Julian day) that "Сегодня" fills in; tests fix it.
    static void SetPresentMoment(std::function<double()> jdUT);

    // A town from the directory stands in the block, not retyped since it was chosen.
    bool HasDirectoryTown() const { return directoryTown_ != nullptr; }

    void WriteTownBlock(const ChartRecord& chart);
    // Town, latitude and longitude; false with a message naming the field when a
    // coordinate is not a number or out of range.
    bool ReadTownBlock(std::string& town, double& latitude, double& longitude,
                       std::string& error) const;

    void done(int result) override;

  protected:
    // The town block as rows of a grid, from the given row on; returns the next row.
    int AddTownBlock(QGridLayout* grid, int row);
    QPushButton* AddButton(QHBoxLayout* row, int id, const char* cp1251Text);
    // The row of OK, Cancel and Help every dialog ends with.
    QHBoxLayout* StandardButtons(const char* okText = nullptr);
    // Runs the towns directory on the block; true when it filled it.
    bool RunTownDirectory(double jdLocal, double* correctionHours);
    // "Города...": fills the town block; dialogs with a time also take the correction.
    virtual void OnTowns() { RunTownDirectory(0, nullptr); }

    // The date (3) or date and time (6) fields and the correction of a dialog with a
    // town block. The correction of a town from the directory then follows the typed
    // moment, unless it was typed by hand.
    void WatchMoment(QLineEdit* const* parts, int count, QLineEdit* correction);
    // The typed local moment; none while a field is not a whole number or the date or
    // time cannot be.
    std::optional<DateParts> TypedMoment() const;
    // "Сегодня": the present moment as local time of the dialog's place (UT minus the
    // correction; the town's correction of the present when it came from the directory
    // and was not typed by hand) into the watched fields.
    void FillPresentMoment();
    // The place came from elsewhere (a database card): its correction no longer follows.
    void ForgetDirectoryTown();
    // Called when the correction changed to follow the moment.
    virtual void CorrectionFollowed() {}

    QLineEdit* town_ = nullptr;
    QLineEdit* latitude_ = nullptr;
    QLineEdit* longitude_ = nullptr;

  private:
    void FollowMoment();

    std::string helpKey_;
    bool keepFocus_ = false;
    std::unique_ptr<DirectoryTown> directoryTown_;
    bool correctionTyped_ = false;
    QLineEdit* momentParts_[6] = {};
    int momentCount_ = 0;
    QLineEdit* watchedCorrection_ = nullptr;
};

// A width that shows the given number of digits.
int FieldWidth(const QLineEdit* edit, int characters);

// Reads a numeric field for a dialog; on failure fills the message that names it.
std::optional<double> ReadNumberField(const QLineEdit* edit, const char* cp1251Name,
                                      std::string& error);
std::optional<int> ReadWholeField(const QLineEdit* edit, const char* cp1251Name,
                                  std::string& error);
// Reads the date (3) or date and time (6) fields; on failure fills the message that
// names the field, or says which part of the date cannot be. Missing time parts are 0.
std::optional<DateParts> ReadDateFields(QLineEdit* const* parts, int count, std::string& error);

}  // namespace orbeta
