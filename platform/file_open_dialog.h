#pragma once
// The file-open dialog component: a filter set once, and the file name kept
// between uses so the next opening starts with the last choice.
#include <QString>

class QWidget;

namespace platform {

class FileOpenDialog {
public:
    // filter: patterns separated by ';', as "*.bmp;*.gif".
    explicit FileOpenDialog(QString filter) : filter_(std::move(filter)) {}
    // Shows the dialog modally. True when a file was chosen; fileName() then has its full path.
    bool show(QWidget* parent);
    QString fileName() const { return fileName_; }
    void setFileName(const QString& f) { fileName_ = f; }
    QString filter() const { return filter_; }

private:
    QString filter_;
    QString fileName_;
};

} // namespace platform
