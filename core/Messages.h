#pragma once
// Every message text the core reports, in one place. Texts are UTF-8; the
// error box appends the final full stop.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace k4r::messages {

// A text in single quotes, as every message quotes what it was given.
[[nodiscard]] std::string Quoted(std::string_view text);

// How a path appears inside a message (UTF-8).
[[nodiscard]] std::string PathText(const std::filesystem::path& path);

[[nodiscard]] std::string CannotOpen(const std::filesystem::path& path);    // "ファイル %s は開けません"
[[nodiscard]] std::string CannotCreate(const std::filesystem::path& path);  // "ファイル %s を作成できません"
[[nodiscard]] std::string NotAnInteger(std::string_view text);              // "'%s' は整数ではありません"
// The same for the box captioned `caption`: "政治: '８Ｏ' は整数ではありません".
[[nodiscard]] std::string NotAnIntegerIn(std::string_view caption, std::string_view text);
[[nodiscard]] std::string CannotWriteSettings(const std::filesystem::path& path);  // "%s に書き込めません"
[[nodiscard]] std::string ReadError();  // "ストリームからの読み込みエラー"
// The same, naming the file that broke off or is too short:
// "ファイル %s: ストリームからの読み込みエラー".
[[nodiscard]] std::string ReadErrorIn(const std::filesystem::path& path);
[[nodiscard]] std::string WriteError();  // "ストリームへの書き込みエラー"
[[nodiscard]] std::string OutOfMemory();  // "メモリストリームの拡大中にメモリが足りなくなりました"

// An officer reference whose list position has no code in the file (the
// codes end at position `lastCodable`). `field` names the field as the user
// knows it, e.g. "実父武将 (Oya)".
[[nodiscard]] std::string OfficerHasNoCode(std::string_view field, std::int32_t position, std::int32_t lastCodable);

// A number that the file would store as another one: "政治 300 はファイルに保存
// できません (保存できるのは 0 から 255 まで)". `caption` is UTF-8.
[[nodiscard]] std::string NumberNotStorable(std::string_view caption, std::int32_t value, std::int32_t lowest,
                                            std::int32_t highest);

// A path with a character that the settings file's code page cannot hold, so
// that it would be read back as another path. `path` is UTF-8.
[[nodiscard]] std::string PathNotStorable(std::string_view path);

// A face whose picture does not lie wholly inside its face graphics file, so
// that it cannot be replaced: "ファイル %s の顔 %d の画像はファイルの中にありません".
[[nodiscard]] std::string FaceOutsideFile(const std::filesystem::path& path, int faceNumber);

// A file that no picture format we read can make sense of:
// "ファイル %s は画像として読めません".
[[nodiscard]] std::string PictureUnreadable(const std::filesystem::path& path);

}  // namespace k4r::messages
