#include "EditScriptFile.h"

#include "BEntry.h"
#include "BNodeInfo.h"
#include "BPath.h"
#include "FileOperations.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// Files are read as through a 512-byte line buffer: a line longer than 511
// bytes comes in pieces, and each piece is a line of its own for marker
// matching. Every byte is copied through unchanged.
constexpr size_t kPieceSize = 511;

constexpr char kTextType[] = "text/plain";
constexpr char kDefaultEditor[] = "application/x-vnd.Be-STEE";
constexpr mode_t kNewFileMode = 0644;

struct Piece {
    size_t start;
    size_t length;
};

std::vector<Piece> SplitPieces(const std::string& text)
{
    std::vector<Piece> pieces;
    size_t start = 0;
    while (start < text.size()) {
        size_t newline = text.find('\n', start);
        size_t end = newline == std::string::npos ? text.size() : newline + 1;
        if (end - start > kPieceSize)
            end = start + kPieceSize;
        pieces.push_back({start, end - start});
        start = end;
    }
    return pieces;
}

// Bytes that may continue a tag: after one of them the marker names a
// longer tag ("#BEGIN_AB" is not a marker of "A").
bool ContinuesTag(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'
        || c == '-' || c == '.' || c >= 0x80;
}

// Whether `piece` holds `marker` with the tag ending right after it. The
// byte after a piece cut from a long line is the next piece's first.
bool HasMarker(const std::string& text, const Piece& piece, const std::string& marker)
{
    size_t end = piece.start + piece.length;
    for (size_t at = text.find(marker, piece.start);
         at != std::string::npos && at + marker.size() <= end; at = text.find(marker, at + 1)) {
        size_t after = at + marker.size();
        if (after == text.size() || !ContinuesTag(static_cast<unsigned char>(text[after])))
            return true;
    }
    return false;
}

// The whole file, or false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& text)
{
    text.clear();
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    bool failed = ferror(file) != 0;
    fclose(file);
    return !failed;
}

// The text without the sections: from a piece holding the begin marker to
// the next piece holding the end marker, both included. A begin marker
// without an end marker after it drops the rest of the file.
std::string WithoutSections(
    const std::string& text, const std::string& begin, const std::string& end)
{
    std::string kept;
    bool skipping = false;
    for (const Piece& piece : SplitPieces(text)) {
        if (HasMarker(text, piece, begin))
            skipping = true;
        if (!skipping)
            kept.append(text, piece.start, piece.length);
        if (HasMarker(text, piece, end))
            skipping = false;
    }
    return kept;
}

// The application that opens the file: its own preferred one, else the
// system's text editor.
std::string PreferredApp(const std::string& path)
{
    BNode node(path.c_str());
    BNodeInfo info(&node);
    char signature[B_MIME_TYPE_LENGTH] = {};
    if (info.GetPreferredApp(signature) == B_OK && signature[0] != '\0')
        return signature;
    return kDefaultEditor;
}

void SetTextType(const std::string& path, const std::string& preferredApp)
{
    BNode node(path.c_str());
    BNodeInfo info(&node);
    info.SetType(kTextType);
    info.SetPreferredApp(preferredApp.c_str());
}

// A link (a profile kept with the user's other dot files, say) stays a
// link: the file it leads to is edited.
std::string FileBehindLink(const std::string& path)
{
    BEntry entry(path.c_str(), true);
    return entry.InitCheck() == B_OK ? entry.Path() : path;
}

void Replace(
    const std::string& path, const std::string& text, const std::string& backup, bool backedUp)
{
    BEntry entry(path.c_str());
    mode_t mode = kNewFileMode;
    if (entry.Exists())
        entry.GetPermissions(&mode);
    if (write_file_atomically(path.c_str(), text.data(), text.size(), mode) != B_OK)
        return;
    // The new file is a new node: it takes the old one's attributes along.
    if (backedUp)
        copy_attributes(backup.c_str(), path.c_str());
}

} // namespace

void EditScriptFile(
    const directory_which& which, const char* fileName, const char* tag, const char* contents)
{
    if (fileName == nullptr || *fileName == '\0' || tag == nullptr)
        return;
    BPath folder;
    if (find_directory(which, &folder, false) != B_OK || !BEntry(folder.Path()).IsDirectory()
        || folder.Append(fileName) != B_OK)
        return;
    std::string path = folder.Path();
    std::string sample = path + ".sample";
    if (!BEntry(path.c_str()).Exists() && BEntry(sample.c_str()).Exists())
        copy_entry(sample.c_str(), path.c_str(), TargetMode::ExactPath);
    path = FileBehindLink(path);

    BEntry target(path.c_str());
    bool exists = target.Exists();
    // Only a regular file is ever read or replaced: a folder or a device in
    // its place is left alone.
    if (exists && !target.IsFile())
        return;
    std::string preferredApp = PreferredApp(path);
    std::string text;
    bool readable = ReadWholeFile(path, text);
    std::string begin = std::string("#BEGIN_") + tag;
    std::string end = std::string("#END_") + tag;
    bool beginSeen = false;
    bool endSeen = false;
    for (const Piece& piece : SplitPieces(text)) {
        if (HasMarker(text, piece, begin))
            beginSeen = true;
        else if (HasMarker(text, piece, end))
            endSeen = true;
    }

    std::string backup = path + ".orig";
    bool backedUp
        = exists && copy_entry(path.c_str(), backup.c_str(), TargetMode::ExactPath) == B_OK;

    // A file that is there but cannot be read is never replaced: its text
    // would be lost.
    if (exists && !readable)
        return;
    std::string edited = beginSeen && endSeen ? WithoutSections(text, begin, end) : text;
    if (contents != nullptr) {
        if (edited.empty() || edited.back() != '\n') {
            fputs("last line\n", stderr);
            edited += '\n';
        }
        edited += begin + "\n" + contents + "\n" + end + "\n";
    }
    if (edited != text)
        Replace(path, edited, backup, backedUp);
    if (BEntry(path.c_str()).IsFile())
        SetTextType(path, preferredApp);
}
