// Writing into a file with the system's reason kept, the one text for each cause a user can act
// on (a disk without room, a folder that may not be written), and a failed write carried as a
// value that knows its cause.
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
    // reported as: FileFailure::ofWrite's text.
    static QString failure(int code, const QString& path, const QString& otherwise, Place place = Place::File);
};

// Why a file could not be written or copied: the cause, which decides what a window shows, and
// the text.
class FileFailure {
public:
    enum class Cause {
        NoRoom,      // the disk or the user's quota had no room: the text says so and names the folder
        NotWritable, // the disk is read-only or the user may not write the folder: the text says which and names it
        Damaged,     // a file that failed its check was not copied: the text names it and says what to do
        Other,       // anything else: the system's or the writer's words, for the log
    };

    // `words`, the writer's or the system's own words, when the text is the user's (NoRoom,
    // NotWritable); the text itself when empty.
    FileFailure(Cause cause, QString text, QString words = QString())
        : cause_(cause), text_(std::move(text)), words_(std::move(words)) {}
    // A failure of another cause, in the program's or the system's words.
    static FileFailure other(QString text) { return {Cause::Other, std::move(text)}; }

    // A write into the file `path` (or a file made, renamed or flushed there) that failed with
    // the system's error code `code`: NoRoom when the disk had no room for it (ENOSPC: the disk
    // is full; EDQUOT: the user's disk quota is used up), NotWritable when the system would not
    // let it be written (EROFS: the disk is read-only; EACCES, EPERM: the user has no permission
    // there), each in Chinese with the folder of `path` (or `path` itself, a folder), which the
    // user is shown, `otherwise` kept as its words; for any other code, Other with `otherwise`,
    // the writer's own words.
    static FileFailure ofWrite(int code, const QString& path, const QString& otherwise,
                               FileWrite::Place place = FileWrite::Place::File);
    // Nothing could be made in the folder `folder` (a file, a subfolder), by a call that does
    // not keep the system's reason (Qt's temporary and saved files, QDir::mkpath): the system is
    // asked whether the user may write the folder, or the nearest of its parents that exists.
    // NotWritable naming that folder when it may not be written, else Other with `otherwise`.
    static FileFailure ofFolder(const QString& folder, const QString& otherwise,
                                FileWrite::Place place = FileWrite::Place::File);

    Cause cause() const { return cause_; }
    // What the user is shown: the cause in Chinese with its folder, or for Other the writer's
    // or the system's words.
    const QString& text() const { return text_; }
    // The writer's or the system's own words (which file, which call), for the log.
    const QString& words() const { return words_.isEmpty() ? text_ : words_; }
    bool operator==(const FileFailure&) const = default;

    // What a command's own message says when its files failed.
    enum class Message {
        WhatWasLeftUndone, // the causes the user can act on follow it
        AnotherCause,      // a missing backup, a wrong folder: those causes are shown in its place
    };

    // What a window shows for a command that failed for `failures`, from its own `message`: the
    // causes the user can act on (a disk without room, a folder that may not be written, a
    // damaged file left out), each text once, after the message or in its place as `kind` says;
    // the message alone when there are none. Parts are joined by `separator`; an empty message
    // is left out.
    static QString shown(const QString& message, const QList<FileFailure>& failures, Message kind,
                         const QString& separator = QStringLiteral("\n"));
    // The same for a command that failed with `error`, whose cause is causeOf(error).
    static QString shown(const QString& message, const std::exception& error, Message kind);

private:
    Cause cause_;
    QString text_;
    QString words_;
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
// that shows it. As every error, it keeps the cause the user can act on apart (lb::Error::cause:
// the failure's text, unless of cause Other) from its message, the failure's words, after
// `command` (the words of what could not be done) on a line of their own when it is given.
class FileWriteError : public FileOpenError {
public:
    explicit FileWriteError(FileFailure failure, const QString& command = QString());
    const FileFailure& failure() const noexcept { return failure_; }

private:
    FileFailure failure_;
};

// The cause of any error that the user can act on, in the user's words: that of a file that
// could not be written (a FileWriteError, unless of cause Other) and the one another error of
// the program carries (the engine's full disk, a field gone from its table) alike; empty when it
// has none. Windows read a failure's cause through this alone.
QString causeOf(const std::exception& error);

} // namespace lb
