#include <cstdio>
#include <cstring>
#include <vector>

#include "join/html_escape.h"
#include "join/run.h"
#include "join/stream_copy.h"
#include "join/writers.h"
#include "text/path.h"

namespace {

static_assert(kEscapeChunk * kLongestHtmlEscape <= kOutputBufferSize, "a chunk fits escaped");

// Each chunk is escaped aside first, where the escaper's overlapping stores stay in the cache,
// and then copied past the cache into the output (CopyPastCache): on two cores the page took
// about a fifth less time so (bench/join-vs-cat).
void CopyEscapedBytes(RunState& run, EntryFile& entry) {
    HtmlEscapeState state; // each file starts a line
    while (RunGoesOn(run)) {
        bool ended;
        std::size_t n = ReadEntry(entry, run.chunk, kEscapeChunk, &ended);
        // Room for the chunk escaped at its widest.
        unsigned char* to = ReserveOutput(run.out, n * kLongestHtmlEscape);
        if (to == nullptr)
            return;
        std::size_t size = static_cast<std::size_t>(
            EscapeHtmlBytes(run.escaped, run.chunk, n, state) - run.escaped);
        CopyPastCache(to, run.escaped, size);
        CommitOutput(run.out, size);
        if (ended)
            return; // the end of the file, or a read error, which fails the run
    }
}

// Which entries the page takes is decided once, before its contents: the contents and the
// body then agree, and each entry's identity is asked once. kWritten, or why it is left out.
constexpr signed char kWritten = -1;

// A name is text on the page: a POSIX name may hold markup. No second byte of a Shift_JIS
// character is one of these. An ampersand stays as it is: a name that looks like an entity
// is shown as one, as the page has always written it.
void WriteName(OutputBuffer& out, const char* name) {
    for (const char* at; *(at = name + std::strcspn(name, "<>\"")) != '\0'; name = at + 1) {
        WriteBytes(out, name, static_cast<std::size_t>(at - name));
        WriteText(out, *at == '<' ? "&lt;" : *at == '>' ? "&gt;" : "&quot;");
    }
    WriteText(out, name);
}

void WriteAnchor(OutputBuffer& out, const char* format, int index) {
    char text[80];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(index));
    WriteText(out, text);
}

void WriteHead(OutputBuffer& out, const char* outputPath) {
    WriteText(out, "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\n"
                   "<HTML>\n"
                   "<HEAD>\n"
                   "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html;CHARSET=Shift_JIS\">\n"
                   "<TITLE>");
    WriteName(out, FileNamePart(outputPath));
    WriteText(out, "</TITLE>\n"
                   "</HEAD>\n"
                   "\n"
                   "<BODY TEXT=\"#000000\" BGCOLOR=\"#ffffff\" LINK=\"#0000ff\" ALINK=\"#ff0000\" "
                   "VLINK=\"#880088\">\n"
                   "\n");
}

void WriteContents(RunState& run, const FileList& list, std::vector<signed char>& decisions) {
    WriteText(run.out, "<P>\n");
    PathBuffer path;
    for (int i = 0; i < static_cast<int>(decisions.size()); ++i) {
        list.entry(list.owner, i, path);
        JoinSkip why;
        decisions[i] =
            IsWrittenEntry(run.file, path, &why) ? kWritten : static_cast<signed char>(why);
        if (decisions[i] != kWritten)
            continue;
        WriteAnchor(run.out, "<A HREF=\"#%08x\">", i);
        WriteName(run.out, FileNamePart(path));
        WriteText(run.out, "</A><BR>\n");
    }
    WriteText(run.out, "</P>\n\n");
}

// The links name the neighbours by list position, joined or not; only the first and the
// last position get the grey marks.
void WriteCaption(OutputBuffer& out, int index, int count, const char* path) {
    WriteText(out, "<CAPTION>");
    if (index > 0)
        WriteAnchor(out, "<A HREF=\"#%08x\">\x81\xaa</A>", index - 1); // ↑
    else
        WriteText(out, "<FONT COLOR=\"#8f8f8f\">\x81\xaa</FONT>"); // ↑
    WriteAnchor(out, " <A NAME=\"%08x\">", index);
    WriteName(out, FileNamePart(path));
    WriteText(out, "</A> ");
    if (index < count - 1)
        WriteAnchor(out, "<A HREF=\"#%08x\">\x81\xab</A>", index + 1); // ↓
    else
        WriteText(out, "<FONT COLOR=\"#8f8f8f\">\x81\xab</FONT>"); // ↓
    WriteText(out, "</CAPTION>\n");
}

// Skips are reported here, in list order, where an entry's table goes missing. An entry the
// page took that cannot be opened now (unreadable, or gone since) keeps its table with an
// empty cell, so that its link in the contents leads somewhere.
void WriteBody(RunState& run, const FileList& list, const std::vector<signed char>& decisions) {
    int count = static_cast<int>(decisions.size());
    PathBuffer path;
    for (int i = 0; i < count && RunGoesOn(run); ++i) {
        list.entry(list.owner, i, path);
        if (decisions[i] != kWritten) {
            ReportSkip(list, i, path, static_cast<JoinSkip>(decisions[i]), 0);
            continue;
        }
        EntryFile entry;
        bool opened = OpenEntry(entry, path);
        if (!opened)
            ReportSkip(list, i, path, kSkipUnreadable, entry.error);
        WriteText(run.out, "<TABLE BORDER=\"1\" WIDTH=\"100%\" ALIGN=\"center\">\n");
        WriteCaption(run.out, i, count, path);
        WriteText(run.out, "<TR><TD>\n");
        if (opened) {
            CopyEscapedBytes(run, entry);
            EndEntryCopy(run, entry, path);
        }
        WriteText(run.out, "</TD></TR>\n</TABLE>\n<BR>\n");
    }
    WriteText(run.out, "\n</BODY>\n</HTML>\n");
}

} // namespace

bool WriteHtmlJoin(const char* outputPath, const FileList& list, JoinFailure* failure) {
    int count = list.count(list.owner);
    std::vector<signed char> decisions(static_cast<std::size_t>(count > 0 ? count : 0));
    RunState run;
    if (!BeginRun(run, outputPath, true, failure))
        return false;
    WriteHead(run.out, outputPath);
    WriteContents(run, list, decisions);
    WriteBody(run, list, decisions);
    return EndRun(run, failure);
}
