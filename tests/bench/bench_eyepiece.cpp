// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the telescope view: one UpdateView at 400X (picture from the
// cache, the field, the moons, the read-outs) and one whole animation tick
// (new instant, TTFromUT, ComputeSatellites, UpdateView), on the real main
// window in demonstration mode.
#include "app/ORVA_JUP.h"
#include "common/FileIO.h"
#include "platform/Desktop.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Confirms every dialog as it stands and answers every message with OK.
class ConfirmingDesktop : public QtDesktop {
public:
    MsgResult message(const Message&) override { return MsgResult::Ok; }
    int execDialog(QDialog&) override { return QDialog::Accepted; }
};

TOrbexaForm1* runningForm() {
    static QTemporaryDir work;
    static TOrbexaForm1* form = [] {
        OptionsRecord r = defaultOptionsRecord();
        r.LoginRequired = false;
        fileio::writeFileReplacing(work.path().toStdString() + "/JUP_OPTS.INI",
                                   serializeOptions(r));
        const OptsObj::Folders folders{QV_BIN_DIR "/", work.path().toStdString() + "/"};
        auto* f = new TOrbexaForm1(nullptr, &folders);
        f->Run1Click();
        f->MagBtnClick(3);
        return f;
    }();
    return form;
}

void BM_UpdateView400X(benchmark::State& state) {
    TOrbexaForm1* form = runningForm();
    for (auto _ : state)
        form->UpdateView();
}
BENCHMARK(BM_UpdateView400X)->Unit(benchmark::kMicrosecond);

void BM_AnimationTick400X(benchmark::State& state) {
    TOrbexaForm1* form = runningForm();
    for (auto _ : state)
        form->Timer1Timer();
}
BENCHMARK(BM_AnimationTick400X)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ConfirmingDesktop desk;
    setDesktop(&desk);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
