#pragma once
// The file-open dialog component: a filter set once, and the file name kept
// between uses so the next opening starts with the last choice.
#include <QString>
#include <QStringList>

class QWidget;

namespace platform
{

class FileOpenDialog
{
public:
    // filter: patterns separated by ';', as "*.bmp;*.gif".
    explicit FileOpenDialog(QString filter) : filter_(std::move(filter)) {}
    // Shows the dialog modally (Qt's own dialog, so tests can drive it). True
    // when a file was chosen; fileName() then has its full path.
    bool show(QWidget* parent);
    QString fileName() const { return fileName_; }
    void setFileName(const QString& f) { fileName_ = f; }
    QString filter() const { return filter_; }

    // The filter as Qt's file dialog reads it: the original text as the label,
    // the patterns space-separated in brackets. Names are matched without
    // regard to case (show() sets that), as "PHOTO.JPG" is as common as "photo.jpg".
    static QString qtNameFilter(const QString& filter);

private:
    QString filter_;
    QString fileName_;
};

} // namespace platform
