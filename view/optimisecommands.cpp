// Optimising for the band: the Optimise dialog and the search in a worker thread with its
// progress, Snap to Standard Values, and the Bode-Fano line's toggle.
#include "view/ckesto1view.h"

#include "app/dialogs/optimisedialog.h"
#include "app/dialogs/optimiseprogressdialog.h"
#include "app/dialogs/snapdialog.h"
#include "design/optimiser.h"
#include "design/standardvalues.h"
#include "model/numbertext.h"
#include "platform/messages/messageboxes.h"
#include "view/ckesto1doc.h"

#include <QDialog>
#include <QString>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>

namespace {

// How often the chart follows the search's best design.
constexpr int kFollowMs = 150;

// What the search hands the window while it runs: the best design so far, taken by the
// window's timer, and the window's request to stop.
struct SearchState {
    std::mutex lock;
    std::vector<Component> best;
    double bestValue = 0; ///< the search's figure, lower is better
    double bestShown = 0; ///< and as shown
    int evaluations = 0;
    int budget = 0;
    bool fresh = false;
    std::atomic<bool> cancel{false};
};

OptimiseObjective ObjectiveOf(int32_t choice) {
    return choice == OPTIMISE_GAIN ? OptimiseObjective::Gain : OptimiseObjective::Vswr;
}

std::vector<int32_t> ChosenComponents(const COptimiseDialog& dialog, const SmithChrt& sc) {
    std::vector<int32_t> chosen;
    if (dialog.which == OPTIMISE_FROM_ACTIVE) {
        for (int32_t i = std::max(sc.activeIndex, 0); i < sc.componentCount; ++i) {
            chosen.push_back(i);
        }
    } else if (dialog.which == OPTIMISE_LIST) {
        chosen = ParseComponentList(dialog.list, sc.componentCount).value_or(chosen);
    }
    return chosen;
}

} // namespace

void CKesto1View::InstallNetwork(const std::vector<Component>& network) {
    SmithChrt& sc = document->chart;
    const size_t n = std::min(network.size(), sc.components.size());
    std::copy(network.begin(), network.begin() + static_cast<std::ptrdiff_t>(n),
              sc.components.begin());
}

bool CKesto1View::RefusedForEmptyNetwork() {
    if (document->chart.componentCount > 0) {
        return false;
    }
    MessageBoxes().Warning(QString::fromLatin1(OptimiseProblemText(OptimiseProblem::EmptyNetwork)));
    AfterCommand(false);
    return true;
}

void CKesto1View::OnOptimise() {
    if (RefusedForEmptyNetwork()) {
        return;
    }
    SmithChrt& sc = document->chart;
    COptimiseDialog dialog(this);
    dialog.componentCount = sc.componentCount;
    dialog.objective = optimiseObjective;
    if (dialog.exec() != QDialog::Accepted) {
        AfterCommand(false);
        return;
    }
    optimiseObjective = dialog.objective;
    OptimiseSettings settings;
    settings.objective = ObjectiveOf(dialog.objective);
    settings.effort = dialog.effort;
    settings.components = ChosenComponents(dialog, sc);
    const std::vector<Component> original(sc.components.begin(),
                                          sc.components.begin() + sc.componentCount);

    // The search works on a copy; the window shows its best design as it improves.
    SmithChrt input = sc;
    input.messages = nullptr;
    input.surface = nullptr;
    auto state = std::make_shared<SearchState>();
    OptimiseResult result;
    QThread* worker = QThread::create([&input, &settings, &result, state] {
        result = OptimiseNetwork(input, settings, [state](const OptimiseProgress& p) {
            const std::lock_guard<std::mutex> hold(state->lock);
            state->evaluations = p.evaluations;
            state->budget = p.budget;
            if (state->best.empty() || p.best < state->bestValue) {
                state->best = *p.network;
                state->bestValue = p.best;
                state->bestShown = p.shown;
                state->fresh = true;
            }
            return !state->cancel.load();
        });
    });
    COptimiseProgressDialog progress(this);
    connect(worker, &QThread::finished, &progress, &QDialog::accept);
    QTimer follow;
    follow.setInterval(kFollowMs);
    const bool gain = settings.objective == OptimiseObjective::Gain;
    connect(&follow, &QTimer::timeout, this, [this, state, &progress, gain] {
        const std::lock_guard<std::mutex> hold(state->lock);
        progress.ShowProgress(state->evaluations, state->budget, state->bestShown, gain);
        if (state->fresh) {
            state->fresh = false;
            InstallNetwork(state->best);
            AfterCommand(false);
        }
    });
    worker->start();
    follow.start();
    if (progress.exec() != QDialog::Accepted) {
        state->cancel = true;
    }
    worker->wait();
    follow.stop();
    delete worker;

    if (result.problem != OptimiseProblem::None) {
        InstallNetwork(original);
        AfterCommand(false);
        MessageBoxes().Warning(QString::fromLatin1(OptimiseProblemText(result.problem)));
        return;
    }
    InstallNetwork(result.network);
    AfterCommand(false);
    const char* cancelled = result.cancelled ? " (search cancelled)" : "";
    const std::string question =
        gain ? CFormat("Worst transducer gain %.3f dB before, %.3f dB now%s.\nKeep the optimised "
                       "values? (No restores the values from before.)",
                       result.before, result.after, cancelled)
             : CFormat("Worst VSWR %.3f before, %.3f now%s.\nKeep the optimised values? (No "
                       "restores the values from before.)",
                       result.before, result.after, cancelled);
    if (MessageBoxes().Question(QString::fromStdString(question))) {
        AfterCommand(true);
    } else {
        InstallNetwork(original);
        AfterCommand(false);
    }
}

void CKesto1View::OnSnapToStandard() {
    if (RefusedForEmptyNetwork()) {
        return;
    }
    SmithChrt& sc = document->chart;
    CSnapDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) {
        AfterCommand(false);
        return;
    }
    const std::span<const StandardSeries> series = AllStandardSeries();
    const auto index = static_cast<size_t>(std::clamp<int32_t>(dialog.series, 0, 5));
    const SnapResult r = SnapToStandard(sc, series[index], ObjectiveOf(optimiseObjective));
    InstallNetwork(r.network);
    AfterCommand(true);
}

void CKesto1View::OnToggleBodeFano() {
    showBodeFano = !showBodeFano;
    AfterCommand(false);
}
