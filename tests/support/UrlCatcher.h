// Catches what the program hands to the desktop's handler for files (help, saved workbooks).
#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

// Install with QDesktopServices::setUrlHandler(scheme, &catcher, "open").
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};
