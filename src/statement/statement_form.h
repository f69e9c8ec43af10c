#pragma once

#include "app/form.h"
#include "app/hand_off.h"
#include "app/printing.h"
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

protected:
    void Form_Load() override;
    void Form_Unload(qint16& cancel) override;

private:
    void cmdCalculate_Click();
    void cmdClear_Click();
    void cmdExit_Click();
    void cmdPrint_Click();
    void Form_KeySave();
    bool CheckEntries();
    void Text1_GotFocus(int index);
    void txtBox_GotFocus(int index);
    void txtBoxa_GotFocus(int index);
    void openCalculator(const OpenCalculator& open, const QString& line, int description);
    printing::Outcome withoutButtons(const std::function<printing::Outcome()>& makePage);
    std::optional<printing::Outcome> saveAsPdf();
    QString documentTitle();

    const OpenCalculator m_openIncome, m_openExpenses;
    float m_left = 0;
};
