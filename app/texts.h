// The program's own Japanese texts, as the Shift_JIS bytes it hands to the ANSI functions.
// Byte escapes keep the source encoding-neutral; each line shows the text it spells.
#pragma once

// 常に最前面に表示(&T)
constexpr char kTopmostMenuText[] =
    "\x8f\xed\x82\xc9\x8d\xc5\x91\x4f\x96\xca\x82\xc9\x95\x5c\x8e\xa6(&T)";

// 保存名
constexpr char kSaveDialogTitle[] = "\x95\xdb\x91\xb6\x96\xbc";

// Pairs of description and pattern, each ended by a NUL, the list by a second NUL.
constexpr char kSaveDialogFilter[] =
    "\xc3\xb7\xbd\xc4 \xcc\xa7\xb2\xd9 (*.txt)\0*.txt\0"     // ﾃｷｽﾄ ﾌｧｲﾙ (*.txt)
    "HTML \xcc\xa7\xb2\xd9 (*.htm; *.html)\0*.htm; *.html\0" // HTML ﾌｧｲﾙ (...)
    "\x82\xb7\x82\xd7\x82\xc4\x82\xcc\xcc\xa7\xb2\xd9 (*.*)\0*.*\0"; // すべてのﾌｧｲﾙ (*.*)

// vellumor がファイルを連結中です
constexpr char kBusyTrayTip[] = "vellumor \x82\xaa\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x98\x41"
                                "\x8c\x8b\x92\x86\x82\xc5\x82\xb7";

// The message after a failed join: 「name」に書き込めませんでした。 or 「name」を読み込めませんでした。
// then the reason.
constexpr char kFailedNameOpen[] = "\x81\x75"; // 「
constexpr char kWriteFailedClose[] =           // 」に書き込めませんでした。
    "\x81\x76\x82\xc9\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5"
    "\x82\xbd\x81\x42";
constexpr char kReadFailedClose[] = // 」を読み込めませんでした。
    "\x81\x76\x82\xf0\x93\xc7\x82\xdd\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5"
    "\x82\xbd\x81\x42";
// 保存名が長すぎます。
constexpr char kReasonTooLong[] = "\x95\xdb\x91\xb6\x96\xbc\x82\xaa\x92\xb7\x82\xb7\x82\xac\x82"
                                  "\xdc\x82\xb7\x81\x42";
// … (shown after the start of a name too long to show whole)
constexpr char kEllipsis[] = "\x81\x63";

constexpr char kProgramName[] = "vellumor";
