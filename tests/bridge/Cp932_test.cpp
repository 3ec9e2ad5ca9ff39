#include "bridge/Cp932.h"

#include <gtest/gtest.h>

#include "bridge/Messages.h"

namespace k4r::bridge {
namespace {

TEST(Cp932, RoundTripsTextTheCodePageHolds) {
  const QString texts[] = {
      QStringLiteral("織田"),  QStringLiteral("おだ"), QStringLiteral("ｵﾀﾞ"),     QStringLiteral("（なし）"),
      QStringLiteral("※軍師"), QStringLiteral("髙橋"), QStringLiteral("abc 123"), QString()};
  for (const QString& text : texts) {
    SCOPED_TRACE(text.toStdString());
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

TEST(Cp932, BrokenBytesBecomeOneReplacementCharacterEach) {
  struct Case {
    ByteView bytes;
    QString expected;
  };
  const Case cases[] = {
      {"A\x80"
       "B",
       QStringLiteral("A\uFFFDB")},
      {"\xa0\xfd\xff", QStringLiteral("\uFFFD\uFFFD\uFFFD")},
      {"\x8f\xe9\x81", QStringLiteral("城\uFFFD")},  // a first byte with nothing after it
      {"\x81\x20"
       "x",
       QStringLiteral("\uFFFD x")},  // a second byte that cannot follow
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FromCp932(c.bytes), c.expected) << c.expected.toStdString();
  }
}

// Converters are reused between texts: a text that failed must leave
// nothing behind for the next one, in either direction. Run twice, so that
// the end of the first round also precedes a start.
TEST(Cp932, AFailedTextDoesNotAffectTheNextOne) {
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    EXPECT_EQ(FromCp932("\x81\x20"
                        "x"),
              QStringLiteral("\uFFFD x"));
    EXPECT_EQ(FromCp932("\x8d\x5d"), QStringLiteral("江"));
    EXPECT_EQ(FromCp932("\xa0\x8f\xe9"), QStringLiteral("\uFFFD城"));
    EXPECT_EQ(FromCp932("\x8f\xe9"), QStringLiteral("城"));
    EXPECT_FALSE(ToCp932(QString::fromUtf8("\xF0\x9F\x98\x80")).has_value());
    EXPECT_EQ(ToCp932(QStringLiteral("江")), ByteString("\x8d\x5d"));
    EXPECT_FALSE(ToCp932(QStringLiteral("a\u00E9b")).has_value());
    EXPECT_FALSE(ToCp932(QStringLiteral("\u00A5")).has_value());
    EXPECT_EQ(ToCp932(QStringLiteral("\u201D")), ByteString("\x81\x68"));
  }
}

TEST(Cp932, ControlBytesMapOneToOne) {
  // The codec underneath swaps some control codes; the bridge must not.
  const ByteString controls("\x00\x1a\x1c\x7f\x09\x5c\x7e", 7);
  const QString decoded = FromCp932(controls);
  ASSERT_EQ(decoded.size(), 7);
  for (qsizetype i = 0; i < decoded.size(); ++i) {
    EXPECT_EQ(decoded[i].unicode(), static_cast<unsigned char>(controls[static_cast<std::size_t>(i)]));
  }
  EXPECT_EQ(ToCp932(decoded), controls);
}

TEST(Cp932, RefusesBestFitStandIns) {
  // Yen sign and overline have no code of their own; writing a backslash or
  // a tilde for them would change the text behind the user's back.
  EXPECT_FALSE(ToCp932(QStringLiteral("\u00A5")).has_value());
  EXPECT_FALSE(ToCp932(QStringLiteral("\u203E")).has_value());
}

// Input methods give the JIS X 0208 forms; the file gets the codes that read
// back as the Windows forms of the same characters, two bytes each.
TEST(Cp932, JisFormsAreStoredAsTheirWindowsCodes) {
  const struct {
    char16_t typed;
    ByteView bytes;
    char16_t readBack;
  } cases[] = {
      {u'\u301C', "\x81\x60", u'\uFF5E'}, {u'\u2016', "\x81\x61", u'\u2225'}, {u'\u2212', "\x81\x7C", u'\uFF0D'},
      {u'\u00A2', "\x81\x91", u'\uFFE0'}, {u'\u00A3', "\x81\x92", u'\uFFE1'}, {u'\u00AC', "\x81\xCA", u'\uFFE2'},
      {u'\u2014', "\x81\x5C", u'\u2015'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.typed));
    EXPECT_EQ(ToCp932(QString(QChar(c.typed))), ByteString(c.bytes));
    EXPECT_EQ(ToCp932(QString(QChar(c.readBack))), ByteString(c.bytes));  // the Windows form as before
    EXPECT_EQ(FromCp932(c.bytes), QString(QChar(c.readBack)));
    // Inside a run of other characters, as a paste or a commit brings them.
    EXPECT_EQ(ToCp932(QStringLiteral("X山") + QChar(c.typed) + QStringLiteral("川Y")), ByteString("X\x8e\x52") +
                                                                                           ByteString(c.bytes) +
                                                                                           ByteString("\x90\xec"
                                                                                                      "Y"));
  }
  EXPECT_FALSE(ToCp932(QStringLiteral("\u301C\u00A5")).has_value());
}

TEST(Cp932, PathsKeepTheirJapaneseNames) {
  const QString name = QStringLiteral("/tmp/武将/織田.K4R");
  EXPECT_EQ(FromPath(ToPath(name)), name);
}

TEST(Messages, NotFoundTextMatchesTheDialogWording) {
  const QString text = NotFoundText(QStringLiteral("城"));
  EXPECT_EQ(ToCp932(text),
            ByteString("\x81\x68\x8f\xe9\x81\x68\x81\x40") + *ToCp932(QStringLiteral("は見つかりませんでした。")));
  EXPECT_EQ(NotFoundText(QString()), QStringLiteral("””　は見つかりませんでした。"));
}

}  // namespace
}  // namespace k4r::bridge
