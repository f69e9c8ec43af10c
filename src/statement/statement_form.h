#pragma once

#include "app/form.h"
#include "statement_layout.h"

class PopCalcForm;

// frmQM415: the monthly financial statement, the program's main window.
class StatementForm : public Form {
public:
    explicit StatementForm(FormRegistry& registry);

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
    bool CheckEntries();
    void Text1_GotFocus(int index);
    void txtBox_GotFocus(int index);
    void txtBoxa_GotFocus(int index);
    void openCalculator(PopCalcForm& calculator, int description);

    float m_left = 0;
};
