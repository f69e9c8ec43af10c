#pragma once

#include "app/form.h"
#include "app/hand_off.h"

// frmPop and frmP2: adds up to nine pop-money amounts and hands the total to the line it was
// opened for. The two windows differ only in this configuration.
struct PopCalcConfig {
    FormSpec layout;
    QString boxes; // the array of amount boxes
    QString totalLabel;
    bool opensInFirstBox; // every opening puts the focus into the first amount box
};

PopCalcConfig popConfig(); // income: "Sales -- Candy,Pop, etc.."
PopCalcConfig p2Config();  // expenses: "Candy,Pop,Etc..:"

class PopCalcForm : public Form {
public:
    PopCalcForm(FormRegistry& registry, PopCalcConfig config);

    // Loads and shows the window, modeless, to hand its total to `total`; an open window comes
    // to the front as it was.
    void open(const HandOff& total);

    // The total of the last Calculate, in cents. It outlives the window.
    qint64 PopTotal = 0;

private:
    void cmdCalculate_Click();
    void cmdReset_Click();
    void cmdSubmit_Click();
    void cmdCancel_Click();
    void txtP_GotFocus(int index);
    void txtP_LostFocus(int index);

    bool reportBadBoxes();
    std::vector<QLineEdit*> amountBoxes();
    Form& receiver();

    const PopCalcConfig m_config;
    HandOff m_total;
};
