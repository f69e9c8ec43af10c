#pragma once

#include "app/form.h"
#include "model/summary.h"
#include "summary_reading.h"

#include <QStandardItemModel>

#include <functional>

// frmSummary: many saved statements read at once, each a row with what is wrong with it, the
// totals of those that add up, and each station's end balances by month.
class SummaryForm : public Form {
public:
    // Opens a statement in the statement window, which asks before it replaces what it holds.
    using OpenStatement = std::function<void(const QString& path)>;
    SummaryForm(FormRegistry& registry, OpenStatement open);

    // Shows the window and reads these files and folders (a folder's .pdf files) into it, in
    // place of what it showed; Escape stops the reading and keeps what was read.
    void summarise(const QStringList& paths);

protected:
    void Form_Load() override;
    void Form_Unload(qint16& cancel) override;

private:
    void Form_KeySave();
    void Form_KeyPrint();
    void Form_KeyStop();
    void tblRows_Activated(const QModelIndex& index);
    void read(const std::vector<SummaryInput>& inputs);
    void showSummary();

    const OpenStatement m_open;
    SummaryReading m_reading;
    QStringList m_files; // being read, or read last
    bool m_stopped = false;
    Summary m_summary;
    QStandardItemModel m_rows, m_totals, m_stations;
    QString m_folder; // where the last summary was saved
};
