// Usage counters: how often the program starts, runs and which buttons and windows are used, kept in
// the program's ".sta" file when the installation asks for it ("Stats").
#pragma once

#include <QString>

// The statistics file of the installation (empty without a settings object).
QString StatisticsFile();
// Adds 1 to the counter (section "Lorvane") when the settings object exists and "Stats" is on.
// Never fails loudly; a counter that cannot be stored is not counted.
void Count(const QString& name);
// The stored value of a counter, 0 when absent.
qint64 CounterValue(const QString& name);
