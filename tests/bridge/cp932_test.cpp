#include "bridge/Cp932.h"

#include <gtest/gtest.h>

#include "bridge/Messages.h"

namespace k4r::bridge {
namespace {

TEST(Cp932, RoundTripsTextTheCodePageHolds) {
  const QString texts[] = {
      QStringLiteral("織田"), QStringLiteral("おだ"), QStringLiteral("ｵﾀﾞ"), QStringLiteral("（なし）"),
      QStringLiteral("※軍師"), QStringLiteral("髙橋"), QStringLiteral("abc 123"), QString()};
  for (const QString& text : texts) {
    const auto bytes = ToCp932(text);
    ASSERT_TRUE(bytes.has_value()) << text.toStdString();
    EXPECT_EQ(FromCp932(*bytes), text);
  }
}

TEST(Cp932, KnownByteValues) {
  EXPECT_EQ(ToCp932(QStringLiteral("\u201D")), ByteString("\x81\x68"));
  EXPECT_EQ(ToCp932(QStringLiteral("\u3000")), ByteString("\x81\x40"));
  EXPECT_EQ(ToCp932(QStringLiteral("江")), ByteString("\x8d\x5d"));
  // Half-width katakana are single bytes.
  EXPECT_EQ(ToCp932(QStringLiteral("ｱ")), ByteString("\xb1"));
}

TEST(Cp932, DuplicateCodesDoNotSurviveAUnicodeRoundTrip) {
  // Why the editor keeps the bytes of unedited text: 0xED40 (NEC-selected
  // row) and 0xFA5C (IBM extension) are the same character.
  const QString decoded = FromCp932("\xed\x40");
  EXPECT_EQ(decoded, FromCp932("\xfa\x5c"));
  EXPECT_EQ(ToCp932(decoded), ByteString("\xfa\x5c"));
}

TEST(Cp932, RefusesWhatTheCodePageCannotHold) {
  const QString refused[] = {QString::fromUtf8("\xF0\x9F\x98\x80"),  // an emoji
                             QStringLiteral("한국"), QStringLiteral("a\u00E9")};
  for (const QString& text : refused) {
    EXPECT_FALSE(ToCp932(text).has_value()) << text.toStdString();
  }
}

TEST(Cp932, InvalidBytesDecodeToReplacementCharacters) {
  const QString decoded = FromCp932("A\x81\x20\xff");
  EXPECT_TRUE(decoded.startsWith(QLatin1Char('A')));
  EXPECT_TRUE(decoded.contains(QChar(0xFFFD)));
}

TEST(Cp932, PathsKeepTheirJapaneseNames) {
  const QString name = QStringLiteral("/tmp/武将/織田.K4R");
  EXPECT_EQ(FromPath(ToPath(name)), name);
}

TEST(Messages, NotFoundTextMatchesTheDialogWording) {
  const QString text = NotFoundText(QStringLiteral("城"));
  EXPECT_EQ(ToCp932(text), ByteString("\x81\x68\x8f\xe9\x81\x68\x81\x40") + *ToCp932(QStringLiteral("は見つかりませんでした。")));
  EXPECT_EQ(NotFoundText(QString()), QStringLiteral("””　は見つかりませんでした。"));
}

}  // namespace
}  // namespace k4r::bridge
