#pragma once
// The edit boxes that hold numbers (the abilities, the birth year and the
// lifespan) take direct input only: they answer that the input method is off
// and ask for digits. Full-width digits and signs that reach them all the
// same (a paste, an input method that does not let go) become ASCII as they
// come in, so the box shows what the file gets.

#include <QLineEdit>

class NumberEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit NumberEdit(QWidget* parent = nullptr);

  // A QLineEdit answers Qt::ImEnabled from its enabled and read-only state
  // alone, whatever Qt::WA_InputMethodEnabled says.
  using QLineEdit::inputMethodQuery;
  [[nodiscard]] QVariant inputMethodQuery(Qt::InputMethodQuery property) const override;
};
