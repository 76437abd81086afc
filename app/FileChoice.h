#pragma once
// The choice of a file to open or to write. Windows ask through a replaceable
// function so that tests and the picture run answer instead of a person.

#include <QString>
#include <functional>

class QFileDialog;
class QWidget;

namespace vadero {

struct FileChoice {
    QString caption;
    QString filter;     // "Paramètres (*.json)"
    QString suggested;  // a name to start from, when saving
    bool save = false;
    bool folder = false;  // a folder is chosen, `suggested` the one to start in
};

// The path chosen; empty when the choice was cancelled.
using ChooseFileFn = std::function<QString(QWidget* parent, const FileChoice& choice)>;

// The dialog for a choice: its caption, filter, mode and size.
void PrepareFileDialog(QFileDialog& dialog, const FileChoice& choice);
// The desktop's file dialog.
QString AskFileName(QWidget* parent, const FileChoice& choice);

}  // namespace vadero
