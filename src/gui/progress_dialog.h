#pragma once
// Dialog 1013 "Расчет": the gauge of a long search and its button "Прервать", which
// asks the search to stop.
#include <QDialog>

class QProgressBar;

namespace orbeta {

class ProgressDialog : public QDialog {
    Q_OBJECT
  public:
    ProgressDialog(int total, QWidget* owner);
    void Advance(int delta);
    int Value() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    QProgressBar* gauge_;
};

}  // namespace orbeta
