#pragma once

#include "app/form.h"
#include "app/hand_off.h"
#include "paper/printing.h"
#include "saved_statement.h"
#include "statement_file.h"
#include "statement_layout.h"

#include <functional>
#include <optional>

// frmQM415: the monthly financial statement, the program's main window.
class StatementForm : public Form {
public:
    // Opens the calculator that fills a pop-money line, telling it where its total goes.
    using OpenCalculator = std::function<void(const HandOff& total)>;
    StatementForm(FormRegistry& registry, OpenCalculator income, OpenCalculator expenses);

    // The window's horizontal position in twips, as its Load handler last set it.
    float left() const { return m_left; }

    // Centres a window from left to right; negative when the window is wider than the screen.
    static float centredLeft(float screenWidth, float formWidth);

    // Opens a statement saved as a PDF: its entries replace the form's, after a question where
    // the form holds any, and its totals are worked out again where it had them. A file that
    // is refused is named in a message, and the form stays as it was. One file is opened at a
    // time: a file given while another is read waits its turn, and the windows take no input
    // until the open is over.
    void openFile(const QString& path);
    // Tells the user that the file cannot be opened, and why.
    static void refuseFile(const QString& path, const QString& why);

protected:
    void Form_Load() override;
    void Form_Unload(qint16& cancel) override;

private:
    void cmdCalculate_Click();
    void cmdClear_Click();
    void cmdExit_Click();
    void cmdPrint_Click();
    void Form_KeySave();
    void Form_KeyOpen();
    bool CheckEntries();
    // The first entry that keeps Calculate from adding up: the control at fault and what to tell.
    struct EntryProblem {
        QWidget* control;
        QString prompt, title;
    };
    std::optional<EntryProblem> firstProblem();
    void showTotals();
    QStringList amountTexts();
    statement_file::Entries entries();
    void restore(const statement_file::Entries& saved);
    void openNext();
    void fileRead(const QString& path, const SavedStatementReader::Result& read);
    QString folder() const;
    void remember(const QString& path);
    void Text1_GotFocus(int index);
    void txtBox_GotFocus(int index);
    void txtBoxa_GotFocus(int index);
    void openCalculator(const OpenCalculator& open, const QString& line, int description);
    printing::Sheet sheet();
    std::optional<printing::Outcome> saveAsPdf();
    QString documentTitle();

    const OpenCalculator m_openIncome, m_openExpenses;
    float m_left = 0;
    QStringList m_totalled; // the amounts the totals on show were worked out from
    // Where the statement on the form was last saved or opened from; Clear forgets its name.
    QString m_folder, m_fileName;
    SavedStatementReader m_reader;
    QStringList m_waiting;           // files given while one is being opened
    std::optional<InputHold> m_hold; // while a file is being opened
};
