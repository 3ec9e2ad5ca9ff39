#include "core/Messages.h"

namespace k4r::messages {

// Built by appending: GCC 12 at -O2 wrongly warns (-Wrestrict) on
// "'" + std::string(...).
std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted += '\'';
  quoted += text;
  quoted += '\'';
  return quoted;
}

std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string CannotOpen(const std::filesystem::path& path) {
  return "ファイル " + PathText(path) + " は開けません";
}

std::string CannotCreate(const std::filesystem::path& path) {
  return "ファイル " + PathText(path) + " を作成できません";
}

std::string NotAnInteger(std::string_view text) {
  return Quoted(text) + " は整数ではありません";
}

std::string NotAnIntegerIn(std::string_view caption, std::string_view text) {
  std::string message(caption);
  message += ": ";
  message += NotAnInteger(text);
  return message;
}

std::string CannotWriteSettings(const std::filesystem::path& path) {
  return PathText(path) + " に書き込めません";
}

std::string ReadError() {
  return "ストリームからの読み込みエラー";
}

std::string ReadErrorIn(const std::filesystem::path& path) {
  return "ファイル " + PathText(path) + ": " + ReadError();
}

std::string WriteError() {
  return "ストリームへの書き込みエラー";
}

std::string OutOfMemory() {
  return "メモリストリームの拡大中にメモリが足りなくなりました";
}

std::string OfficerHasNoCode(std::string_view field, std::int32_t position, std::int32_t lastCodable) {
  const std::string entries = std::to_string(lastCodable + 1);
  return std::string(field) + ": 武将リストの位置 " + std::to_string(position) +
         " はファイルに保存できません (保存できるのは武将リストの先頭 " + entries + " 件まで)";
}

std::string NumberNotStorable(std::string_view caption, std::int32_t value, std::int32_t lowest, std::int32_t highest) {
  return std::string(caption) + " " + std::to_string(value) + " はファイルに保存できません (保存できるのは " +
         std::to_string(lowest) + " から " + std::to_string(highest) + " まで)";
}

std::string PathNotStorable(std::string_view path) {
  return Quoted(path) + " には設定ファイルに保存できない文字が含まれています";
}

std::string FaceOutsideFile(const std::filesystem::path& path, int faceNumber) {
  std::string text = "ファイル ";
  text += PathText(path);
  text += " の顔 ";
  text += std::to_string(faceNumber);
  text += " の画像はファイルの中にありません";
  return text;
}

std::string PictureUnreadable(const std::filesystem::path& path) {
  return "ファイル " + PathText(path) + " は画像として読めません";
}

}  // namespace k4r::messages
