#include <gtest/gtest.h>

#include <cstdio>

#include "join/html_escape.h"
#include "join/run.h"
#include "join_fixture.h"
#include "support/escape_reference.h"

namespace {

const std::string kHead1 =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\n"
    "<HTML>\n"
    "<HEAD>\n"
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html;CHARSET=Shift_JIS\">\n"
    "<TITLE>";
const std::string kHead2 = "</TITLE>\n</HEAD>\n\n<BODY TEXT=\"#000000\" BGCOLOR=\"#ffffff\" "
                           "LINK=\"#0000ff\" ALINK=\"#ff0000\" VLINK=\"#880088\">\n\n";
const std::string kTable = "<TABLE BORDER=\"1\" WIDTH=\"100%\" ALIGN=\"center\">\n";
const std::string kGreyUp = "<FONT COLOR=\"#8f8f8f\">\x81\xaa</FONT>";   // ↑
const std::string kGreyDown = "<FONT COLOR=\"#8f8f8f\">\x81\xab</FONT>"; // ↓
const std::string kFoot = "\n</BODY>\n</HTML>\n";

std::string Up(const char* anchor) {
    return std::string("<A HREF=\"#") + anchor + "\">\x81\xaa</A>";
}
std::string Down(const char* anchor) {
    return std::string("<A HREF=\"#") + anchor + "\">\x81\xab</A>";
}
std::string Link(const char* anchor, const std::string& name) {
    return std::string("<A HREF=\"#") + anchor + "\">" + name + "</A><BR>\n";
}
std::string TableHead(const std::string& up, const char* anchor, const std::string& name,
                      const std::string& down) {
    return kTable + "<CAPTION>" + up + " <A NAME=\"" + anchor + "\">" + name + "</A> " + down +
           "</CAPTION>\n<TR><TD>\n";
}
const std::string kTableEnd = "</TD></TR>\n</TABLE>\n<BR>\n";
std::string Table(const std::string& up, const char* anchor, const std::string& name,
                  const std::string& down, const std::string& content) {
    return TableHead(up, anchor, name, down) + content + kTableEnd;
}

// The page of files with these names and contents, all joined; starts[i] is where the text
// of file i begins on it.
std::string PageOf(const std::string& title, const std::vector<std::string>& names,
                   const std::vector<std::string>& contents, std::vector<std::size_t>* starts) {
    std::vector<std::string> anchors;
    for (std::size_t i = 0; i < names.size(); ++i) {
        char anchor[16];
        std::snprintf(anchor, sizeof anchor, "%08x", static_cast<unsigned>(i));
        anchors.push_back(anchor);
    }
    std::string page = kHead1 + title + kHead2 + "<P>\n";
    for (std::size_t i = 0; i < names.size(); ++i)
        page += Link(anchors[i].c_str(), names[i]);
    page += "</P>\n\n";
    starts->clear();
    for (std::size_t i = 0; i < names.size(); ++i) {
        page +=
            TableHead(i == 0 ? kGreyUp : Up(anchors[i - 1].c_str()), anchors[i].c_str(), names[i],
                      i + 1 == names.size() ? kGreyDown : Down(anchors[i + 1].c_str()));
        starts->push_back(page.size());
        page += ReferenceEscape(contents[i]) + kTableEnd;
    }
    return page + kFoot;
}

// The page's content cell for one file holding the given bytes.
std::string EscapedAlone(const std::string& bytes) {
    ScratchDir dir;
    std::string file = Canonical(dir.Write("f", bytes));
    JoinRun run;
    std::string out = dir / "o.html";
    if (!run.Run(out, {file}, kJoinHtml))
        return "<failed>";
    std::string page = ReadWholeFile(out);
    std::string open = "<TR><TD>\n", close = "</TD></TR>\n</TABLE>";
    std::size_t from = page.find(open) + open.size();
    return page.substr(from, page.rfind(close) - from);
}

} // namespace

TEST(HtmlPage, WorkedExample) {
    ScratchDir dir;
    std::string a = Canonical(dir.Write("a.txt", "x y\r\n"));
    std::string b = Canonical(dir.Write("b.txt", "1 & 2"));
    std::string out = dir / "all.html";
    JoinRun run;
    ASSERT_TRUE(run.Run(out, {a, b}, kJoinHtml));
    EXPECT_EQ(ReadWholeFile(out),
              kHead1 + "all.html" + kHead2 + "<P>\n" + Link("00000000", "a.txt") +
                  Link("00000001", "b.txt") + "</P>\n\n" +
                  Table(kGreyUp, "00000000", "a.txt", Down("00000001"), "x&nbsp;y<BR>\r\n") +
                  Table(Up("00000000"), "00000001", "b.txt", kGreyDown, "1&nbsp;&amp;&nbsp;2") +
                  kFoot);
}

TEST(HtmlPage, AnchorsFollowListPositionsNotJoinedFiles) {
    ScratchDir dir;
    std::string out = dir / "out.html";
    std::string names[3] = {"first", "second", "third"};
    std::vector<std::string> entries;
    for (const std::string& n : names)
        entries.push_back(Canonical(dir.Write(n, n)));
    std::remove(entries[1].c_str());
    JoinRun run;
    ASSERT_TRUE(run.Run(out, entries, kJoinHtml));
    EXPECT_EQ(ReadWholeFile(out),
              kHead1 + "out.html" + kHead2 + "<P>\n" + Link("00000000", "first") +
                  Link("00000002", "third") + "</P>\n\n" +
                  Table(kGreyUp, "00000000", "first", Down("00000001"), "first") +
                  Table(Up("00000001"), "00000002", "third", kGreyDown, "third") + kFoot);
    EXPECT_EQ(run.skipped, std::vector<std::string>{"1:missing"});
}

TEST(HtmlPage, OutputAsFirstEntryAndHexAnchors) {
    ScratchDir dir;
    std::string out = Canonical(dir.Write("page.htm", "old"));
    std::vector<std::string> entries{out};
    for (int i = 1; i <= 27; ++i)
        entries.push_back(Canonical(dir.Write("f" + std::to_string(i), "")));
    JoinRun run;
    ASSERT_TRUE(run.Run(out, entries, kJoinHtml));
    std::string page = ReadWholeFile(out);
    EXPECT_EQ(page.find("\"#00000000\">f"), std::string::npos); // not in the contents
    EXPECT_EQ(page.find("NAME=\"00000000\""), std::string::npos);
    EXPECT_NE(page.find(Table(Up("00000000"), "00000001", "f1", Down("00000002"), "")),
              std::string::npos);
    EXPECT_NE(page.find(Table(Up("00000019"), "0000001a", "f26", Down("0000001b"), "")),
              std::string::npos);
    EXPECT_NE(page.find(Table(Up("0000001a"), "0000001b", "f27", kGreyDown, "")),
              std::string::npos);
    EXPECT_EQ(page.find("old"), std::string::npos);
}

// One file: both marks are grey. Names are text on the page; an ampersand is written as it is.
TEST(HtmlPage, SingleFileHasBothMarksGreyAndNamesAreText) {
    const struct {
        std::string file, output, shownFile, shownTitle;
    } rows[] = {
        {"R&D;1.txt", "a&b.html", "R&D;1.txt", "a&b.html"},
#ifndef _WIN32
        // Only a POSIX name can hold these bytes.
        {"<img src=x onerror=\"f()\">&amp;.txt", "\"<b>\".html",
         "&lt;img src=x onerror=&quot;f()&quot;&gt;&amp;.txt", "&quot;&lt;b&gt;&quot;.html"},
#endif
    };
    for (const auto& row : rows) {
        ScratchDir dir;
        std::string a = Canonical(dir.Write(row.file, "t"));
        std::string out = dir / row.output;
        JoinRun run;
        ASSERT_TRUE(run.Run(out, {a}, kJoinHtml));
        EXPECT_EQ(ReadWholeFile(out),
                  kHead1 + row.shownTitle + kHead2 + "<P>\n" + Link("00000000", row.shownFile) +
                      "</P>\n\n" + Table(kGreyUp, "00000000", row.shownFile, kGreyDown, "t") +
                      kFoot);
    }
}

TEST(HtmlEscaping, SpacesBreaksAndMarkup) {
    EXPECT_EQ(EscapedAlone("a  b\tc"), "a&nbsp;&nbsp;b\tc");
    EXPECT_EQ(EscapedAlone("l1\nl2\r\nl3\r\n\nl5\r"), "l1<BR>\nl2<BR>\r\nl3<BR>\r\n<BR>\nl5<BR>\r");
    EXPECT_EQ(EscapedAlone("<a href=\"x\">&amp;</a>"),
              "&lt;a&nbsp;href=&quot;x&quot;&gt;&amp;amp;&lt;/a&gt;");
    EXPECT_EQ(EscapedAlone(""), "");
    EXPECT_EQ(EscapedAlone(std::string("\0\x01\x7f'", 4)), std::string("\0\x01\x7f'", 4));
}

TEST(HtmlEscaping, DoubleByteCharactersStayWhole) {
    // 表 (0x95 0x5C), ソ (0x83 0x5C), ポ (0x83 0x7C) and a full-width space (0x81 0x40).
    std::string text = "\x95\x5c\x83\x5c\x83\x7c\x81\x40 \xb1";
    EXPECT_EQ(EscapedAlone(text), "\x95\x5c\x83\x5c\x83\x7c\x81\x40&nbsp;\xb1");
    EXPECT_EQ(EscapedAlone("end\x81"), "end\x81"); // a last lone lead byte ends the content
}

TEST(HtmlEscaping, AStrayLeadByteNeverSwallowsMarkupOrABreak) {
    EXPECT_EQ(EscapedAlone("\x81<script>"), "\x81&lt;script&gt;");
    EXPECT_EQ(EscapedAlone("\x81\r\n"), "\x81<BR>\r\n");
    EXPECT_EQ(EscapedAlone("\x81\n"), "\x81<BR>\n");
    EXPECT_EQ(EscapedAlone("\x9f \xe0\"\xfc&"), "\x9f&nbsp;\xe0&quot;\xfc&amp;");
    // A valid pair followed by a byte to escape: the pair ends before it.
    EXPECT_EQ(EscapedAlone("\x81\x81<"), "\x81\x81&lt;");
}

TEST(HtmlEscaping, IsTheSameAcrossBlockBoundaries) {
    // Characters and escapes placed across every read and write boundary the writer might
    // use: each unit below is escaped alone, so the page must be the units' escapes joined.
    const std::string units[][2] = {
        {"\x95\x5c", "\x95\x5c"}, {" ", "&nbsp;"}, {"\r\n", "<BR>\r\n"},     {"a", "a"},
        {"\x81", "\x81"},         {"<", "&lt;"},   {"\x83\x41", "\x83\x41"}, {"\"", "&quot;"},
        {"\n", "<BR>\n"}};
    std::string text, expected;
    unsigned seed = 12345;
    while (text.size() < 3 * 256 * 1024 + 7) {
        seed = seed * 1103515245 + 12345;
        const std::string* u = units[(seed >> 16) % 9];
        text += u[0];
        expected += u[1];
    }
    EXPECT_TRUE(EscapedAlone(text) == expected);
}

TEST(HtmlEscaping, ACrLfCutByTheReadsIsOneLineEnd) {
    // The CR last of one read, its LF first of the next.
    for (std::size_t cr : {kEscapeChunk - 1, 2 * kEscapeChunk - 1}) {
        std::string text(2 * kEscapeChunk + 8, 'a');
        text[cr] = '\r';
        text[cr + 1] = '\n';
        std::string expected = text;
        expected.replace(cr, 1, "<BR>\r");
        EXPECT_TRUE(EscapedAlone(text) == expected) << "CR at " << cr;
    }
}

TEST(HtmlPage, EachFileStartsALine) {
    // A file's first LF breaks the line, even after a file whose last byte is a CR.
    ScratchDir dir;
    std::string a = Canonical(dir.Write("a", "x\r")), b = Canonical(dir.Write("b", "\ny"));
    std::string out = dir / "o.html";
    JoinRun run;
    ASSERT_TRUE(run.Run(out, {a, b}, kJoinHtml));
    std::string page = ReadWholeFile(out);
    EXPECT_NE(page.find("<TR><TD>\nx<BR>\r</TD>"), std::string::npos);
    EXPECT_NE(page.find("<TR><TD>\n<BR>\ny</TD>"), std::string::npos);
}

TEST(HtmlEscaping, MegabytesOfTheWidestEscapesComeOutWhole) {
    // Six output bytes for each input byte, over more than one output buffer: the writer
    // must make room for the escaped size, not the size read.
    const std::size_t size = 1024 * 1024 + 7;
    const std::pair<char, std::string> cases[] = {{' ', "&nbsp;"}, {'"', "&quot;"}};
    for (const auto& c : cases) {
        std::string expected;
        for (std::size_t i = 0; i < size; ++i)
            expected += c.second;
        EXPECT_TRUE(EscapedAlone(std::string(size, c.first)) == expected) << c.second;
    }
}

TEST(HtmlPage, AnEntryThatCannotBeReadGetsAnEmptyCell) {
    // An item that refuses to be opened keeps its table, with nothing in it; a folder is no
    // file and is left out of the contents and the body alike.
    ScratchDir dir;
    ASSERT_TRUE(MakeFolder(dir / "folder"));
    UnreadableItem held(dir / "held");
    ASSERT_TRUE(held.made());
    std::string a = Canonical(dir.Write("a.txt", "A"));
    std::string out = dir / "out.html";
    JoinRun run;
    ASSERT_TRUE(run.Run(out, {Canonical(dir / "folder"), Canonical(dir / "held"), a}, kJoinHtml));
    EXPECT_EQ(ReadWholeFile(out),
              kHead1 + "out.html" + kHead2 + "<P>\n" + Link("00000001", "held") +
                  Link("00000002", "a.txt") + "</P>\n\n" +
                  Table(Up("00000000"), "00000001", "held", Down("00000002"), "") +
                  Table(Up("00000001"), "00000002", "a.txt", kGreyDown, "A") + kFoot);
    EXPECT_EQ(run.skipped, (std::vector<std::string>{"0:not a file", "1:unreadable"}));
}

// The page decides once which entries it takes: one gone between its contents and its body
// keeps its table, empty, so that its link leads somewhere.
TEST(HtmlPage, AnEntryGoneAfterTheContentsKeepsItsTable) {
    ScratchDir dir;
    struct Vanishing {
        std::vector<std::string> paths;
        int fetched; // times the first entry was asked for
    } v{{Canonical(dir.Write("a.txt", "A")), Canonical(dir.Write("b.txt", "B"))}, 0};
    FileList list{[](const void*) { return 2; },
                  [](const void* owner, int index, char* path) {
                      Vanishing& v = *static_cast<Vanishing*>(const_cast<void*>(owner));
                      if (index == 0 && ++v.fetched == 2) // the body's turn
                          std::remove(v.paths[0].c_str());
                      CopyWholePath(path, v.paths[index].c_str());
                  },
                  &v, nullptr, nullptr};
    std::string out = dir / "out.html";
    ASSERT_TRUE(JoinFiles(out.c_str(), list, kJoinHtml));
    EXPECT_EQ(ReadWholeFile(out),
              kHead1 + "out.html" + kHead2 + "<P>\n" + Link("00000000", "a.txt") +
                  Link("00000001", "b.txt") + "</P>\n\n" +
                  Table(kGreyUp, "00000000", "a.txt", Down("00000001"), "") +
                  Table(Up("00000000"), "00000001", "b.txt", kGreyDown, "B") + kFoot);
}

// The output buffer filled to its very last byte. The first buffer takes the head, the
// contents and ten files of one chunk each, until a chunk at its widest no longer fits; the
// second starts with the text of file 10 and ends, to the byte, with a chunk of spaces at
// six bytes each.
TEST(HtmlPage, TextEndingOnTheLastByteOfTheSecondBufferComesOutWhole) {
    const std::size_t widest = kEscapeChunk * kLongestHtmlEscape;
    std::vector<std::string> names, contents;
    for (int i = 0; i < 21; ++i) {
        names.push_back("text" + std::to_string(10 + i) + ".txt");
        std::string text(kEscapeChunk, 'a');
        for (std::size_t k = 0; k < text.size(); ++k)
            text[k] = static_cast<char>('a' + (i + k) % 26);
        contents.push_back(i < 20 ? text : std::string(kEscapeChunk, ' '));
    }
    std::vector<std::size_t> starts;
    PageOf("page.html", names, contents, &starts);
    // File 19 gives up as many bytes as the markup takes between files 10 and 20.
    contents[19].resize(contents[19].size() -
                        (starts[20] - starts[10] - (kOutputBufferSize - widest)));
    std::string expected = PageOf("page.html", names, contents, &starts);
    ASSERT_LE(starts[9] + widest, kOutputBufferSize);
    ASSERT_GT(starts[10] + widest, kOutputBufferSize);
    ASSERT_EQ(starts[20] - starts[10] + widest, kOutputBufferSize);

    ScratchDir dir;
    std::vector<std::string> entries;
    for (int i = 0; i < 21; ++i)
        entries.push_back(Canonical(dir.Write(names[i], contents[i])));
    JoinRun run;
    ASSERT_TRUE(run.Run(dir / "page.html", entries, kJoinHtml));
    EXPECT_TRUE(ReadWholeFile(dir / "page.html") == expected);
}
