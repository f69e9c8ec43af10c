#pragma once

#include "app/form.h"
#include "app/hand_off.h"
#include "paper/printing.h"
#include "saved_statement.h"
#include "model/statement_file.h"
#include "statement_layout.h"

#include <functional>
#include <optional>

// frmQM415: the monthly financial statement, the program's main window.
class StatementForm : public Form {
public:
    // Opens the calculator that fills a pop-money line, telling it where its total goes.
    using OpenCalculator = std::function<void(const HandOff& total)>;
    // Opens the summary of several saved statements.
    using OpenSummary = std::function<void(const QStringList& files)>;
    StatementForm(FormRegistry& registry, OpenCalculator income, OpenCalculator expenses,
                  OpenSummary summary = {});

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
    void Form_KeyOpenSeveral();
    void Form_KeyNew();
    bool CheckEntries();
    bool mayClear();
    void showTotals();
    // Tells the user that the file cannot be opened, and why.
    static void refuseFile(const QString& path, const QString& why);
    void showStatement();
    void restore(const statement_file::Saved& saved);
    void openNext();
    void fileRead(const QString& path, const SavedStatementReader::Result& read);
    QString folder() const;
    void remember(const QString& path);
    void Text1_GotFocus(int index);
    void txtBox_GotFocus(int index);
    void txtBoxa_GotFocus(int index);
    void openCalculator(const OpenCalculator& open, const QString& line, int description);
    std::optional<printing::Outcome> saveAsPdf();
    QString documentTitle();

    const OpenCalculator m_openIncome, m_openExpenses;
    const OpenSummary m_openSummary;
    float m_left = 0;
    // What the form holds, kept as it is edited; the form shows it anew after Calculate, Clear
    // and Open, and meanwhile takes no edit of its own showing back.
    Statement m_statement;
    bool m_showing = false;
    std::optional<Statement> m_kept; // as last saved or opened
    // Where the statement on the form was last saved or opened from; Clear forgets its name.
    QString m_folder, m_fileName;
    SavedStatementReader m_reader;
    QStringList m_waiting;           // files given while one is being opened
    std::optional<InputHold> m_hold; // while a file is being opened
};
