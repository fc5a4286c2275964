// Writing into a file with the system's reason kept, the one text for a disk without room, and
// a failed write carried as a value that knows its cause.
#pragma once

#include "platform/sys/Errors.h"

#include <QList>
#include <QString>

#include <optional>

namespace lb {

// Qt's file classes lose the system's reason when a write is cut short part of the way (the
// disk filled up while a block went out): they report "Unknown error". Writers that must say
// why they failed write through writeAt() and word their failures with failure().
class FileWrite {
public:
    // Writes the `count` bytes at `data` into the open file `fd` from byte `offset` on, going on
    // after writes the system cut short or interrupted; the file's own position stays. Returns
    // 0 when every byte is written, else the system's error code (errno) of the write that
    // failed; `written`, when given, receives how many bytes were written before it.
    static int writeAt(int fd, qint64 offset, const char* data, qint64 count, qint64* written = nullptr);

    // The system's own words for its error code `code`.
    static QString systemError(int code);

    // What the write went into: a file of the user's command (the books, a copy, a saved
    // report), or the system's temporary folder, where the report keeps its pages.
    enum class Place { File, TemporaryFolder };

    // What a write into the file `path` that failed with the system's error code `code` is
    // reported as. When the disk had no room for it (ENOSPC: the disk is full; EDQUOT: the
    // user's disk quota is used up), the cause in Chinese and the folder of `path` (or `path`
    // itself, a folder), which the user is shown; for any other code, `otherwise`, the
    // writer's own words.
    static QString failure(int code, const QString& path, const QString& otherwise, Place place = Place::File);
};

// Why a file could not be written or copied: the cause, which decides what a window shows, and
// the text.
class FileFailure {
public:
    enum class Cause {
        NoRoom,  // the disk or the user's quota had no room: the text says so and names the folder
        Damaged, // a file that failed its check was not copied: the text names it and says what to do
        Other,   // anything else: the system's or the writer's words, for the log
    };

    FileFailure(Cause cause, QString text) : cause_(cause), text_(std::move(text)) {}
    // A failure of another cause, in the program's or the system's words.
    static FileFailure other(QString text) { return {Cause::Other, std::move(text)}; }

    // A write into the file `path` that failed with the system's error code `code`: NoRoom in
    // FileWrite::failure's words when the disk had no room for it, else Other with `otherwise`.
    static FileFailure ofWrite(int code, const QString& path, const QString& otherwise,
                               FileWrite::Place place = FileWrite::Place::File);

    Cause cause() const { return cause_; }
    const QString& text() const { return text_; }
    bool operator==(const FileFailure&) const = default;

    // What a command's own message says when its files failed.
    enum class Message {
        WhatWasLeftUndone, // the causes the user can act on follow it
        AnotherCause,      // a missing backup, a wrong folder: those causes are shown in its place
    };

    // What a window shows for a command that failed for `failures`, from its own `message`: the
    // causes the user can act on (a disk without room, a damaged file left out), each text once,
    // after the message or in its place as `kind` says; the message alone when there are none.
    // Parts are joined by `separator`; an empty message is left out.
    static QString shown(const QString& message, const QList<FileFailure>& failures, Message kind,
                         const QString& separator = QStringLiteral("\n"));

private:
    Cause cause_;
    QString text_;
};

// The outcome of a write or a copy: done, or why not. A caller cannot leave it unread.
class [[nodiscard]] FileResult {
public:
    FileResult() = default; // done
    FileResult(FileFailure failure) : failure_(std::move(failure)) {}

    bool ok() const { return !failure_; }
    // Why it failed; only when !ok().
    const FileFailure& failure() const { return *failure_; }

private:
    std::optional<FileFailure> failure_;
};

// The error a writer throws when its file could not be written, the failure kept for the window
// that shows it.
class FileWriteError : public FileOpenError {
public:
    explicit FileWriteError(FileFailure failure) : FileOpenError(failure.text()), failure_(std::move(failure)) {}
    const FileFailure& failure() const noexcept { return failure_; }

    // The failures `error` carries: a FileWriteError's own, none for any other error.
    static QList<FileFailure> of(const Error& error);

private:
    FileFailure failure_;
};

} // namespace lb
