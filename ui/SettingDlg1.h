#pragma once
// The settings dialog: the path of the face graphics file KAO_M.VX9,
// written to the settings file on OK and used from the next start.

#include <QDialog>
#include <QString>
#include <filesystem>
#include <memory>

namespace k4r::ui {
struct OwnerFrame;
}
namespace Ui {
class TForm5;
}

class TForm5 : public QDialog {
  Q_OBJECT

 public:
  // Shows `facePath` (the path read at start) and writes the confirmed one
  // into `settingsFile`; placed from `owner`'s frame.
  TForm5(const QString& facePath, std::filesystem::path settingsFile, const k4r::ui::OwnerFrame& ownerFrame,
         QWidget* owner);
  ~TForm5() override;

 private:
  void OpenFileBtn1Click();
  void OKBtn1Click();

  std::filesystem::path settingsFile_;
  std::unique_ptr<Ui::TForm5> ui_;
  // The file chosen by the last browse of this showing; the next browse
  // starts there.
  QString lastChoice_;
};
