#include "zestrolap.h"

TMainForm::TMainForm(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Zestrola - Version 2020/3"));
}
