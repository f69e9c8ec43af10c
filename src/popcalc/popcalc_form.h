#pragma once

#include "app/form.h"

// frmPop and frmP2: adds up to nine pop-money amounts and hands the total to one line of the
// statement. The two windows differ only in this configuration.
struct PopCalcConfig {
    FormSpec layout;
    QString boxes; // the array of amount boxes
    QString totalLabel;
    QString targetArray; // the statement's box that receives the total
    int targetIndex;
    int descriptionIndex; // the statement's Text1 box that follows it
};

PopCalcConfig popConfig(); // income: "Sales -- Candy,Pop, etc.."
PopCalcConfig p2Config();  // expenses: "Candy,Pop,Etc..:"

class PopCalcForm : public Form {
public:
    PopCalcForm(FormRegistry& registry, PopCalcConfig config);

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
    QLineEdit* statementDescription();

    const PopCalcConfig m_config;
};
