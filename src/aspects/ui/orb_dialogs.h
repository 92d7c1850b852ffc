#pragma once
// Dialog 1063 "Блоки аспектов и орбисов" (the orb files and the four slots of the
// settings) and the editor "Аспекты и Орбисы" of one file.
#include <QLineEdit>
#include <filesystem>
#include <string>

#include "aspects/orb_file.h"
#include "gui/dial.h"

class QLabel;
class QListWidget;
class QRadioButton;

namespace orbeta {

constexpr int kEditedOrbCount = 21;  // SUN .. H.6

class OrbEditorDialog : public Dial {
    Q_OBJECT
  public:
    OrbEditorDialog(QWidget* parent, std::filesystem::path path, OrbTable table);
    const OrbTable& Table() const { return table_; }
    int Selected() const;
    void Select(int row);

    void ShowOrbs();   // "Показать Орбисы"
    bool StoreOrbs();  // "Запомнить Орбисы"; false when a field is no number
    bool AddAspect(const QString& text);  // "Новый Аспект"
    void DeleteAspect();                  // "Удалить Аспект"
    void ToggleOff();                     // "Вкл/Откл"
    void SetColour(int32_t colour);
    void SetLineStyle(int style);

    // OK writes the whole list to the file.
    void accept() override;

  private:
    void FillList();
    QString EntryText(const AspectRecord& a) const;

    std::filesystem::path path_;
    OrbTable table_;
    QListWidget* list_;
    QLabel* angle_;
    QLineEdit* orbs_[kEditedOrbCount];
    QRadioButton* solid_;
    QRadioButton* dashed_;
};

// Opens the editor on a file, with its switched-off aspects.
void RunOrbEditor(QWidget* parent, const std::filesystem::path& path);

class OrbFilesDialog : public Dial {
    Q_OBJECT
  public:
    explicit OrbFilesDialog(QWidget* parent);
    QListWidget* Files() const { return files_; }
    void AssignSlot(int slot);
    // "Новый": false when the name is refused or the file exists.
    bool CreateFile(const QString& typed);
    void DeleteSelected();

  private:
    void ShowSlots();
    QString SelectedName() const;

    QListWidget* files_;
    QLabel* slots_[kOrbSlotCount];
};

// Command 312; on closing the current table is read again from slot 0.
void RunOrbFilesDialog(QWidget* parent);

}  // namespace orbeta
