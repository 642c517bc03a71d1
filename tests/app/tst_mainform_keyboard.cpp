// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibilitySupport.h"
#include "MainFormFixture.h"
#include "calc/BerechnungsForm.h"
#include "model/Settings.h"
#include "widgets/FileDialog.h"
#include "widgets/InfoTextBox.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kHeader = "Obst 100g\tkJ\tkcal\tEnergie-|dichte\tFett\r\n";
const QByteArray kRows = "Apfel\t218,00\t52\t0,52\t0,20\r\n"
                         "Banane\t371,00\t89\t0,89\t0,30\r\n"
                         "Salz & Pfeffer\t0\t0\t0\t0\r\n";

// A caption and what a screen reader calls it.
struct Command
{
    QString caption;
    QString name;
    QString where;
};

QString readName(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

// Every caption needs an Alt key of its own among those shown together, and
// a name; the problems found, each with where it is.
QStringList altKeyProblems(const QList<Command> &commands)
{
    QStringList problems;
    QHash<QKeySequence, QString> taken;
    for (const Command &c : commands) {
        const QKeySequence key = QKeySequence::mnemonic(c.caption);
        if (key.isEmpty())
            problems << c.where + u": no Alt key in \"" + c.caption + u'"';
        else if (taken.contains(key))
            problems << c.where + u": " + key.toString() + u" twice, \"" + taken.value(key)
                    + u"\" and \"" + c.caption + u'"';
        else
            taken.insert(key, c.caption);
        if (c.name.trimmed().isEmpty())
            problems << c.where + u": no name for \"" + c.caption + u'"';
    }
    return problems;
}

QList<Command> menuCommands(QMenu *menu)
{
    QList<Command> commands;
    for (QAction *action : menu->actions()) {
        if (action->isVisible() && !action->isSeparator() && !action->text().trimmed().isEmpty())
            commands.append(
                { action->text(), TestSupport::readCaption(action), menu->objectName() });
    }
    return commands;
}

// What the window shows at once: menu titles, buttons, labels that lead to
// a control, tab titles. A button without text (an arrow) needs a name.
QList<Command> windowControls(QWidget *window, QStringList &problems)
{
    QList<Command> commands;
    const QString where = window->objectName();
    const auto own = [window](const QWidget *widget) { return widget->window() == window; };
    for (QMenuBar *bar : window->findChildren<QMenuBar *>()) {
        if (!own(bar))
            continue;
        for (QAction *action : bar->actions()) {
            if (action->isVisible() && !action->text().trimmed().isEmpty())
                commands.append({ action->text(), TestSupport::readCaption(action), where });
        }
    }
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        // A view's corner button is not among what the view tells a reader.
        if (!own(button) || !button->isVisibleTo(window)
            || qobject_cast<QTabBar *>(button->parentWidget())
            || qobject_cast<QAbstractItemView *>(button->parentWidget()))
            continue;
        if (!button->text().isEmpty())
            commands.append({ button->text(), readName(button), where });
        else if (readName(button).isEmpty())
            problems << where + u": " + button->objectName() + u" has no name";
    }
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (own(label) && label->buddy() && label->isVisibleTo(window))
            commands.append({ label->text(), readName(label->buddy()), where });
    }
    for (QTabBar *tabs : window->findChildren<QTabBar *>()) {
        if (!own(tabs))
            continue;
        QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(tabs);
        for (int i = 0; i < tabs->count(); ++i)
            commands.append({ tabs->tabText(i), bar->child(i)->text(QAccessible::Name), where });
    }
    return commands;
}

QRect placeIn(QWidget *window, QWidget *widget)
{
    return QRect(widget->mapTo(window, QPoint()), widget->size());
}

// Reading order: a row before the rows below it, left to right within a
// row; controls side by side are in one row even when their tops differ.
bool readsBefore(const QRect &a, const QRect &b)
{
    const bool sameRow = b.top() < a.bottom() && a.top() < b.bottom();
    return sameRow ? a.left() < b.left() : a.top() < b.top();
}

// The controls Tab reaches, in the order it reaches them, starting with the
// top left one (Tab goes round).
QList<QWidget *> tabChain(QWidget *window)
{
    QList<QWidget *> chain;
    for (QWidget *w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        const bool inside = std::any_of(chain.cbegin(), chain.cend(),
            [w](const QWidget *outer) { return outer->isAncestorOf(w); });
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window) && w->isEnabled()
            && !w->focusProxy() && !inside)
            chain.append(w);
    }
    const auto first = std::min_element(chain.begin(), chain.end(),
        [window](auto *a, auto *b) { return readsBefore(placeIn(window, a), placeIn(window, b)); });
    std::rotate(chain.begin(), first, chain.end());
    return chain;
}

} // namespace

Q_DECLARE_METATYPE(QKeySequence)

// Keyboard and screen readers: every command and control has its Alt key
// and a name, every key in the menus does what the menu does, and Tab goes
// through the windows top to bottom.
class TestMainFormKeyboard : public MainFormFixture
{
    Q_OBJECT
    std::unique_ptr<TestSupport::AccessibilityRecorder> m_recorder;

    QWidget *window(const QString &name) const
    {
        return name == form->objectName() ? form.get() : child<QWidget>(qPrintable(name));
    }
    TBerechnungsForm *calc() const { return form->calculationForm(); }

    // Runs `command`; any dialog it opens modally is closed at once.
    template<typename Command> void closingDialogs(Command command)
    {
        QTimer closer;
        connect(&closer, &QTimer::timeout, [] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        closer.start(0);
        command();
    }

    void activate(QWidget *window)
    {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

private Q_SLOTS:
    // One data folder and settings for all: the window's first start
    // writes the settings once.
    void initTestCase()
    {
        prepare({ { u"Obst"_s, kBom + kHeader + kRows } });
        data->addFile(u"Obst/Apfel.txt"_s, kBom + "Apfel\t218,00\t52\t0,52\t0,20\r\nrund\r\n");
        Zestrola::Settings::SchreibeRegKey(u"LetzteAuswahl"_s, u"0"_s);
        FileDialog::setTestMode(true);
        m_recorder = std::make_unique<TestSupport::AccessibilityRecorder>();
    }
    void init()
    {
        start();
        activate(form.get());
        view()->setCaret({ 0, 0 });
    }
    void cleanup() { form.reset(); }
    void cleanupTestCase()
    {
        tearDown();
        m_recorder.reset();
        FileDialog::setTestMode(false);
    }

    void altKeysAndNames_data()
    {
        QTest::addColumn<QString>("window");
        for (const char *name :
            { "MainForm", "BerechnungsForm", "DateienZusammfuegenForm", "NeuForm", "BearbeitenForm",
                "NeueTabelleForm", "TextBausteinForm", "EinstellFormLebensmittel",
                "EinstellFormLebensmittelGetraenke", "EinstellFormSucheImInternet",
                "ImageGrossForm", "TabelleImportierenForm", "VerlaufForm", "RezeptForm" })
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void altKeysAndNames()
    {
        QFETCH(QString, window);
        QWidget *w = this->window(window);
        QStringList problems;
        // The pages of a tab widget are shown one at a time.
        const QList<QTabWidget *> tabWidgets = w->findChildren<QTabWidget *>();
        const int pages = tabWidgets.isEmpty() ? 1 : tabWidgets.first()->count();
        for (int page = 0; page < pages; ++page) {
            if (!tabWidgets.isEmpty())
                tabWidgets.first()->setCurrentIndex(page);
            problems += altKeyProblems(windowControls(w, problems));
        }
        // Popups belong to the window of the widget they are made for.
        for (QMenu *menu : w->findChildren<QMenu *>()) {
            if (menu->parentWidget()->window() == w)
                problems += altKeyProblems(menuCommands(menu));
        }
        for (QWidget *owner : w->findChildren<QWidget *>()) {
            if (owner->window() != w || owner->contextMenuPolicy() != Qt::ActionsContextMenu
                || owner->actions().isEmpty())
                continue;
            QMenu menu;
            menu.setObjectName(owner->objectName());
            menu.addActions(owner->actions());
            problems += altKeyProblems(menuCommands(&menu));
        }
        problems.removeDuplicates();
        QCOMPARE(problems.join(u"\n"_s), QString());
    }

    // An entry name in a caption keeps its "&" and takes no Alt key.
    void entryNamesInCaptions()
    {
        view()->setCaret({ 2, 0 });
        emit child<QMenu>("Bearbeiten1")->aboutToShow();
        auto *edit = child<QAction>("AktuelleZeile1");
        QCOMPARE(TestSupport::readCaption(edit), u"Bearbeiten > Eintrag:   Salz & Pfeffer ..."_s);
        QCOMPARE(QKeySequence::mnemonic(edit->text()), QKeySequence(Qt::ALT | Qt::Key_B));
        QTest::mousePress(
            view()->viewport(), Qt::RightButton, {}, view()->characterRect({ 2, 1 }).center());
        auto *remove = child<QAction>("Zeileloeschen1");
        QCOMPARE(TestSupport::readCaption(remove), u"Löschen > Eintrag:   Salz & Pfeffer ..."_s);
        QCOMPARE(QKeySequence::mnemonic(remove->text()), QKeySequence(Qt::ALT | Qt::Key_L));
        child<QMenu>("PopupMenu1")->close();

        closingDialogs([this] { trigger("InBerechnungHinzufuegen1"); });
        QCOMPARE(readName(calc()->findChild<QPushButton *>(u"UebertragenButton"_s)),
            u"Menge übertragen nach: Salz & Pfeffer"_s);
    }

    // Each key triggers its one command; the keys a popup shows belong to
    // the main menu's command, and Delete is the entry's only in the table.
    void shortcuts_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("command"); // empty: none
        const auto row = [](const char *focus, const char *keys, const char *command) {
            QTest::addRow("%s in %s", keys, focus) << focus << QKeySequence(keys) << command;
        };
        row("TntRichEdit1", "Ctrl+N", "NeuerEintrag1");
        row("TntRichEdit1", "Ctrl+E", "AktuelleZeile1");
        row("TntRichEdit1", "F2", "AktuelleZeile1");
        row("TntRichEdit1", "Del", "AktuelleZeileloeschen1");
        row("ComboBox1", "Del", "");
        row("TntRichEdit1", "Ctrl+I", "Infotextbearbeiten1");
        row("TntRichEdit1", "Ctrl+B", "InBerechnungHinzufuegen1");
        row("TntRichEdit1", "Ctrl+Shift+B", "Berechnung1");
        row("TntRichEdit1", "F1", "Hilfe1");
        row("Edit1", "F3", "Suchen1");
        row("TntRichEdit1", "Ctrl+F", "Suchtexteingeben1");
        row("TntRichEdit1", "Ctrl+Q", "Beenden1");
        row("Edit1", "F10", "Menueleiste1");
        row("calc", "Ctrl+O", "Oeffnen1");
        row("calc", "Ctrl+S", "Speichern1");
        row("calc", "Ctrl+Shift+S", "Speichernunter1");
        row("calc", "Ctrl+P", "Drucken1");
        row("calc", "F10", "Menueleiste1");
    }
    void shortcuts()
    {
        QFETCH(QString, focus);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, command);
        QWidget *target = nullptr;
        if (focus == u"calc") {
            // A list with an amount, so that saving and printing have something.
            closingDialogs([this] { trigger("InBerechnungHinzufuegen1"); });
            calc()->findChild<QPushButton *>(u"UebertragenButton"_s)->click();
            activate(calc());
            target = calc()->focusWidget() ? calc()->focusWidget() : calc();
        } else {
            target = child<QWidget>(qPrintable(focus));
            target->setFocus();
        }
        QList<QAction *> actions = form->findChildren<QAction *>();
        QList<std::pair<QString, std::shared_ptr<QSignalSpy>>> spies;
        for (QAction *action : actions)
            spies.append({ action->objectName(),
                std::make_shared<QSignalSpy>(action, &QAction::triggered) });
        closingDialogs(
            [&] { QTest::keyClick(target, keys[0].key(), keys[0].keyboardModifiers()); });
        QStringList triggered;
        for (const auto &[name, spy] : spies) {
            if (!spy->isEmpty())
                triggered << name;
        }
        QCOMPARE(triggered, command.isEmpty() ? QStringList {} : QStringList { command });
    }

    // Ctrl+F puts the focus into the search field with its text selected;
    // F10 opens the first menu.
    void searchFieldAndMenuKeys()
    {
        QTest::keyClick(view(), Qt::Key_F, Qt::ControlModifier);
        auto *field = child<QLineEdit>("Edit1");
        QVERIFY(field->hasFocus());
        QCOMPARE(field->selectedText(), field->text());
        QTest::keyClick(field, Qt::Key_F10);
        QCOMPARE(form->menuBar()->activeAction(), child<QMenu>("Datei1")->menuAction());
    }

    // A search hit is told as the selected line, so the reader reads it.
    void searchHitIsTold()
    {
        auto *field = child<QLineEdit>("Edit1");
        field->setText(u"banane"_s);
        m_recorder->clear();
        form->Suchen1Click();
        const auto selections = m_recorder->of(view(), QAccessible::TextSelectionChanged);
        QVERIFY(!selections.isEmpty());
        QAccessibleTextInterface *text
            = QAccessible::queryAccessibleInterface(view())->textInterface();
        QCOMPARE(text->text(selections.last().selectionStart, selections.last().selectionEnd),
            view()->lines().at(1) + u'\n');
    }

    // Tab and Shift+Tab go round the main window top to bottom; the table
    // keeps Tab and is left by Ctrl+Tab.
    void mainWindowTabOrder()
    {
        const QStringList order { "CheckBoxErstePos", "Edit1", "ComboBox1", "TntRichEdit2",
            "StringGrid1", "TntRichEdit1" };
        child<QWidget>("CheckBoxErstePos")->setFocus();
        QStringList forward { QApplication::focusWidget()->objectName() };
        for (int i = 0; i < order.size(); ++i) {
            const bool inTable = QApplication::focusWidget() == view();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                inTable ? Qt::ControlModifier : Qt::NoModifier);
            forward << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(forward, order + QStringList { order.first() });
        QStringList backward;
        for (int i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            backward.prepend(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(backward, order);
    }

    // In every window Tab reaches the controls in reading order: top to
    // bottom, and left to right within a row. Controls set apart come last,
    // in the order given: the new-entry dialog's product lookup, which Tab
    // passes over on its way from the values to the description.
    void dialogTabOrder_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("apart");
        for (const char *name :
            { "MainForm", "BerechnungsForm", "DateienZusammfuegenForm", "BearbeitenForm",
                "NeueTabelleForm", "TextBausteinForm", "EinstellFormLebensmittel",
                "EinstellFormLebensmittelGetraenke", "EinstellFormSucheImInternet",
                "ImageGrossForm", "TabelleImportierenForm", "VerlaufForm", "RezeptForm" })
            QTest::newRow(name) << QString::fromLatin1(name) << QStringList {};
        QTest::newRow("NeuForm") << u"NeuForm"_s
                                 << QStringList { "EditStrichcode", "ButtonOpenFoodFacts",
                                        "ButtonAnfrageAbbrechen", "ListBoxTreffer" };
    }
    void dialogTabOrder()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, apart);
        QWidget *w = this->window(window);
        w->show(); // lays the window out
        QList<QWidget *> chain = tabChain(w);
        QStringList last;
        for (const QString &name : apart) {
            auto *control = w->findChild<QWidget *>(name);
            QVERIFY(control);
            if (chain.contains(control))
                last << name;
        }
        QStringList tail;
        for (QWidget *control : chain.mid(chain.size() - last.size()))
            tail << control->objectName();
        QCOMPARE(tail, last);
        chain.resize(chain.size() - last.size());
        QStringList outOfOrder;
        for (int i = 1; i < chain.size(); ++i) {
            if (readsBefore(placeIn(w, chain[i]), placeIn(w, chain[i - 1])))
                outOfOrder << chain[i - 1]->objectName() + u" > " + chain[i]->objectName();
        }
        w->hide();
        QCOMPARE(outOfOrder.join(u"\n"_s), QString());
    }
};

QTEST_MAIN(TestMainFormKeyboard)
#include "tst_mainform_keyboard.moc"
