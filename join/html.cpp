#include <cstdio>
#include <cstring>

#include "join/writers.h"
#include "join/html_escape.h"
#include "join/written_entry.h"
#include "join/output.h"
#include "text/path.h"

namespace {

void CopyEscapedBytes(OutputStream& out, EntryFile& source) {
    unsigned char* chunk = out.scratch;
    HtmlEscapeState state; // each file starts a line
    while (out.error == 0) {
        bool ended;
        std::size_t n = ReadEntry(out, source, chunk, kEscapeChunk, &ended);
        // Room for the chunk escaped at its widest: six bytes for each byte read.
        if (kOutputBufferSize - out.used < n * kLongestHtmlEscape && !FlushOutput(out))
            return;
        out.used = static_cast<std::size_t>(
            EscapeHtmlBytes(out.buffer + out.used, chunk, n, state) - out.buffer);
        if (ended)
            return; // the end of the file, or a read error, which fails the run
    }
}

// A name is text on the page: a POSIX name may hold markup. No second byte of a Shift_JIS
// character is one of these. An ampersand stays as it is: a name that looks like an entity
// is shown as one, as the page has always written it.
void WriteName(OutputStream& out, const char* name) {
    for (const char* at; *(at = name + std::strcspn(name, "<>\"")) != '\0'; name = at + 1) {
        WriteBytes(out, name, static_cast<std::size_t>(at - name));
        WriteText(out, *at == '<' ? "&lt;" : *at == '>' ? "&gt;" : "&quot;");
    }
    WriteText(out, name);
}

void WriteAnchor(OutputStream& out, const char* format, int index) {
    char text[80];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(index));
    WriteText(out, text);
}

void WriteHead(OutputStream& out) {
    WriteText(out, "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\n"
                   "<HTML>\n"
                   "<HEAD>\n"
                   "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html;CHARSET=Shift_JIS\">\n"
                   "<TITLE>");
    WriteName(out, FileNamePart(out.path));
    WriteText(out, "</TITLE>\n"
                   "</HEAD>\n"
                   "\n"
                   "<BODY TEXT=\"#000000\" BGCOLOR=\"#ffffff\" LINK=\"#0000ff\" ALINK=\"#ff0000\" "
                   "VLINK=\"#880088\">\n"
                   "\n");
}

void WriteContents(OutputStream& out, const FileList& list) {
    WriteText(out, "<P>\n");
    int count = list.count(list.owner);
    PathBuffer path;
    for (int i = 0; i < count; ++i) {
        // Skips are reported once, by the body, which is where an entry's table goes missing.
        if (!FetchWrittenEntry(list, i, out, path))
            continue;
        WriteAnchor(out, "<A HREF=\"#%08x\">", i);
        WriteName(out, FileNamePart(path));
        WriteText(out, "</A><BR>\n");
    }
    WriteText(out, "</P>\n\n");
}

// The links name the neighbours by list position, joined or not; only the first and the
// last position get the grey marks.
void WriteCaption(OutputStream& out, int index, int count, const char* path) {
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

void WriteBody(OutputStream& out, const FileList& list) {
    int count = list.count(list.owner);
    PathBuffer path;
    for (int i = 0; i < count && out.error == 0; ++i) {
        JoinSkip why;
        EntryFile entry = OpenListedEntry(list, i, out, path, &why);
        // A written entry that cannot be read still gets its table, with an empty cell.
        if (entry.file == nullptr && why != kSkipUnreadable)
            continue;
        WriteText(out, "<TABLE BORDER=\"1\" WIDTH=\"100%\" ALIGN=\"center\">\n");
        WriteCaption(out, i, count, path);
        WriteText(out, "<TR><TD>\n");
        if (entry.file != nullptr) {
            CopyEscapedBytes(out, entry);
            CloseEntry(out, path, entry);
        }
        WriteText(out, "</TD></TR>\n</TABLE>\n<BR>\n");
    }
    WriteText(out, "\n</BODY>\n</HTML>\n");
}

} // namespace

bool WriteHtmlJoin(const char* outputPath, const FileList& list, JoinFailure* failure) {
    OutputStream out;
    if (!OpenOutput(out, outputPath, true))
        return TellFailure(out, failure);
    WriteHead(out);
    WriteContents(out, list);
    WriteBody(out, list);
    return CloseOutput(out) || TellFailure(out, failure);
}
