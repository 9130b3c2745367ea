// Typed values in profile files: integers, Yes/No flags and their read limits.
//
// Every setting is text. Integers are decimal text; a stored integer is read
// with blanks around it ignored, and text that is not a whole number in the
// range of int (empty, letters, "12abc", overflow) reads as the key's default,
// without a message. Yes/No flags are written "Yes" or "No"; a stored flag is
// true exactly when, blanks around it ignored, it equals "YES" in any letter
// case, so "Y" and "1" are false. A missing key reads as its default.
#pragma once

#include <QString>

namespace collection {

class ProfileFile;

// Longest stored text read back for each kind of value; longer text is cut.
inline constexpr int kIntegerReadLimit = 14;        // integers, colours and Yes/No flags
inline constexpr int kNameReadLimit = 149;          // font names, field names
inline constexpr int kPathReadLimit = 249;          // file paths
inline constexpr int kDefaultValueReadLimit = 109;  // record default values
inline constexpr int kLabelLimit = 20;              // field labels

bool isYes(const QString& text);
QString yesNoText(bool value);  // "Yes" or "No"
// `text` as a whole number, or `defaultValue` when it is not one.
int parseIntSetting(const QString& text, int defaultValue);

int readInt(const ProfileFile& file, const QString& section, const QString& key, int defaultValue);
bool readYesNo(const ProfileFile& file, const QString& section, const QString& key,
               bool defaultValue);
void writeInt(ProfileFile& file, const QString& section, const QString& key, int value);
void writeYesNo(ProfileFile& file, const QString& section, const QString& key, bool value);

}  // namespace collection
