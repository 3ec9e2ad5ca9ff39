#pragma once
// Message texts that both the window and k4r show and that hold user text.

#include <QString>

namespace k4r::bridge {

// "”" + the searched text + "”　は見つかりませんでした。"
[[nodiscard]] QString NotFoundText(const QString& searched);

}  // namespace k4r::bridge
