// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "app/MainForm.h"
#include "widgets/MessageBox.h"
#include "widgets/TableTextView.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QImage>
#include <QTest>
#include <memory>

inline const QByteArray kBom = "\xEF\xBB\xBF";

// A plain red picture as a JPEG file holds it.
inline QByteArray jpeg(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

// A main window on a data folder of its own: settings isolated, message
// boxes answered at once, the working directory moved there and back.
class MainFormFixture : public QObject
{
protected:
    // `parent`: where the data folder goes (a small disk); a temporary
    // folder when empty.
    void prepare(const QList<std::pair<QString, QByteArray>> &tables, const QString &parent = {})
    {
        TestSupport::isolateSettings();
        MessageBox::setTestMode(true);
        data = std::make_unique<TestSupport::DataFolder>(parent);
        for (const auto &[name, bytes] : tables)
            data->addTable(name, bytes);
        data->makeCurrent();
    }

    TMainForm &start()
    {
        form.reset(); // its data folder is free before the next one starts
        form = std::make_unique<TMainForm>();
        return *form;
    }

    void choose(const QString &table)
    {
        auto *chooser = child<QComboBox>("ComboBox1");
        const int index = chooser->findText(table);
        if (index < 0)
            qFatal("no table %s", qPrintable(table));
        chooser->setCurrentIndex(index);
        form->ComboBox1Change();
    }

    template<typename T> T *child(const char *name) const
    {
        return TestSupport::requireChild<T>(form.get(), QString::fromLatin1(name));
    }

    // Runs `check` on the dialog once it is open.
    template<typename Dialog, typename Check> void whileOpen(Check check)
    {
        auto *dialog = form->findChild<Dialog *>();
        QVERIFY(dialog);
        TestSupport::whileOpen(dialog, [dialog, check] {
            QVERIFY(dialog->isVisible());
            check(dialog);
        });
    }

    void trigger(const char *action) const { child<QAction>(action)->trigger(); }

    TableTextView *view() const { return form->tableView(); }
    QByteArray saved(const QString &relativePath) const
    {
        return TestSupport::readBytes(data->path() + relativePath);
    }
    static QStringList messages() { return MessageBox::shownMessages(); }

    void tearDown()
    {
        form.reset();
        data.reset();
    }

    std::unique_ptr<TestSupport::DataFolder> data;
    std::unique_ptr<TMainForm> form;
};
