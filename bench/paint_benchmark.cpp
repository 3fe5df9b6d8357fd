// The figures of one redraw, for the documents of benchsupport.h at three window sizes:
//   Paint     the window's paint path: a repaint of the real view, nothing changed (its paint
//             event, the draw into the window's backing store, which writes only the tiles that
//             change, here none, and the backing store's flush);
//   Draw      the whole draw through the window's surface, its caches kept, into one of two
//             pictures in turn (neither holds the draw before);
//   PlainDraw the draw through the plain painter surface, one painter call a primitive;
//   Replay    the very same primitives, recorded once, replayed one painter call each into the
//             same picture, the grid drawn again each time: a baseline to compare the window's
//             surface with (what the plain painter costs without the evaluation), not a bound;
//   Evaluate  the draw on a surface that draws nothing.
// Then a window's first draw (the window's surface with nothing kept yet), a key sequence
// through the real view (value up or down, then the repaint), the picture files of the
// command-line tool in process, and the tool's whole process writing a PNG (back to back, and
// 2 s apart) and writing the readout. Beside them the true lower bounds: the white fill of a
// picture of each size (WhiteFill), an offscreen Qt program that does nothing (EmptyQtProcess),
// and zlib at the PNG encoder's level and strategy on the same picture's PNG rows, on one thread
// (Zlib1/PNGRows). The summary at the end gives every figure with its ratio to the replay of the
// same document and size, the lower bounds, and the targets.
#include "bench/benchsupport.h"
#include "chart/chartgeometry.h"
#include "chart/datetimetext.h"
#include "chart/drawchart.h"
#include "chart/recordingsurface.h"
#include "model/documentfile.h"
#include "platform/drawing/chartdrawview.h"
#include "platform/drawing/chartpictures.h"
#include "platform/drawing/cqtpaintersurface.h"
#include "platform/drawing/crastersurface.h"
#include "view/ckesto1doc.h"
#include "view/ckesto1view.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kRepetitions = 5;
constexpr double kMinTime = 0.1;
const QSize kSizes[] = {{800, 400}, {1920, 1080}, {3840, 2160}};
const QSize kPictureSize{3840, 2160};
// Draws before the timing starts: the window's surface keeps the grid as a picture from the
// second draw on, and a repetition with few iterations would otherwise time mostly its making.
constexpr int kWarmDraws = 3;
// The pause before each run of the tool timed as a user runs it now and then.
constexpr double kPauseSeconds = 2;

std::string SizeName(QSize s) {
    return std::to_string(s.width()) + "x" + std::to_string(s.height());
}

FixedDateTimeText& Clock() {
    static FixedDateTimeText clock{std::string("07.12.2026 23:59")};
    return clock;
}

Rect LogicalArea(QSize size) {
    return DeviceToLogical({0, 0, size.width(), size.height()});
}

// A picture of the given size whose memory has been touched once: a large picture's first
// use costs a page fault per page, which belongs to no draw.
QImage WarmPicture(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The calls of one draw into a picture of the given size, with the painter's own text metrics.
std::vector<DrawCall> RecordDraw(const SmithChrt& doc, QImage& image) {
    TextMetrics metrics;
    {
        QPainter painter(&image);
        CQtPainterSurface surface(&painter, {0, 0});
        metrics = surface.GetTextMetrics();
    }
    RecordingSurface recording(metrics);
    SmithChrt sc = doc;
    DrawChart(sc, recording, LogicalArea(image.size()), Clock());
    return std::move(recording.calls);
}

void Register(const std::string& name, std::function<void(benchmark::State&)> run,
              bool realTime = false) {
    auto* b = benchmark::RegisterBenchmark(name.c_str(), std::move(run));
    b->Unit(benchmark::kMillisecond)
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true)
        ->MinTime(kMinTime);
    if (realTime) {
        b->UseRealTime();
    }
}

// A shown view of the document at the given size; its repaint is the window's paint path.
struct ShownView {
    ShownView(const SmithChrt& chart, QSize size) : view(document) {
        document.chart = chart;
        view.resize(size);
        view.show();
        QApplication::processEvents();
    }
    CKesto1Doc document;
    CKesto1View view;
};

void RegisterRedraws(const BenchDocument& doc, QSize size) {
    const std::string suffix = "/" + doc.name + "/" + SizeName(size);
    const SmithChrt chart = doc.chart;
    Register("Paint" + suffix, [chart, size](benchmark::State& state) {
        ShownView shown(chart, size);
        for (int i = 0; i < kWarmDraws; ++i) {
            shown.view.repaint();
        }
        for (auto _ : state) {
            shown.view.repaint();
        }
    });
    Register("Draw" + suffix, [chart, size](benchmark::State& state) {
        // Two pictures in turn: neither holds the draw before, so each draw is whole.
        QImage images[] = {WarmPicture(size), WarmPicture(size)};
        int next = 0;
        CRasterCache cache;
        const auto draw = [&] {
            SmithChrt sc = chart;
            QPainter painter(&images[next]);
            next = 1 - next;
            DrawChartOnWindow(sc, painter, size, QRect(QPoint(0, 0), size), Clock(), nullptr, 1.0,
                              &cache);
        };
        for (int i = 0; i < kWarmDraws; ++i) {
            draw();
        }
        for (auto _ : state) {
            draw();
        }
    });
    Register("PlainDraw" + suffix, [chart, size](benchmark::State& state) {
        QImage image = WarmPicture(size);
        for (auto _ : state) {
            SmithChrt sc = chart;
            QPainter painter(&image);
            CQtPainterSurface surface(&painter, {0, 0});
            DrawChart(sc, surface, LogicalArea(size), Clock());
        }
    });
    Register("Replay" + suffix, [chart, size](benchmark::State& state) {
        QImage image = WarmPicture(size);
        const std::vector<DrawCall> calls = RecordDraw(chart, image);
        for (auto _ : state) {
            QPainter painter(&image);
            CQtPainterSurface surface(&painter, {0, 0});
            ReplayDrawCalls(calls, surface);
        }
        state.counters["calls"] = static_cast<double>(calls.size());
    });
    Register("Evaluate" + suffix, [chart, size](benchmark::State& state) {
        for (auto _ : state) {
            SmithChrt sc = chart;
            CountingSurface surface;
            DrawChart(sc, surface, LogicalArea(size), Clock());
            benchmark::DoNotOptimize(sc.endZ);
        }
    });
}

// A lower bound of every redraw at a size: each pixel of the picture written once, white.
void RegisterWhiteFill(QSize size) {
    Register("WhiteFill/" + SizeName(size), [size](benchmark::State& state) {
        QImage image = WarmPicture(size);
        for (auto _ : state) {
            image.fill(Qt::white);
            benchmark::DoNotOptimize(image.constBits());
        }
    });
}

// A lower bound of the PNG encoder's compression: the picture's rows as PNG stores them (filter
// byte, 8-bit RGB), deflated at once on one thread at the encoder's level and strategy.
void RegisterZlibRows(const BenchDocument& doc) {
    const SmithChrt chart = doc.chart;
    Register("Zlib1/PNGRows/" + doc.name + "/" + SizeName(kPictureSize),
             [chart](benchmark::State& state) {
                 QImage image = WarmPicture(kPictureSize);
                 {
                     SmithChrt sc = chart;
                     QPainter painter(&image);
                     DrawChartOnWindow(sc, painter, kPictureSize, image.rect(), Clock(), nullptr,
                                       1.0);
                 }
                 const size_t rowBytes = 1 + 3 * static_cast<size_t>(image.width());
                 std::vector<uint8_t> rows(rowBytes * static_cast<size_t>(image.height()));
                 for (int y = 0; y < image.height(); ++y) {
                     uint8_t* row = rows.data() + rowBytes * static_cast<size_t>(y);
                     const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                     row[0] = 0;
                     for (int x = 0; x < image.width(); ++x) {
                         row[1 + 3 * x] = static_cast<uint8_t>(qRed(pixels[x]));
                         row[2 + 3 * x] = static_cast<uint8_t>(qGreen(pixels[x]));
                         row[3 + 3 * x] = static_cast<uint8_t>(qBlue(pixels[x]));
                     }
                 }
                 std::vector<uint8_t> out(compressBound(static_cast<uLong>(rows.size())));
                 for (auto _ : state) {
                     z_stream z{};
                     deflateInit2(&z, 1, Z_DEFLATED, 15, 8, Z_RLE);
                     z.next_in = rows.data();
                     z.avail_in = static_cast<uInt>(rows.size());
                     z.next_out = out.data();
                     z.avail_out = static_cast<uInt>(out.size());
                     if (deflate(&z, Z_FINISH) != Z_STREAM_END) {
                         state.SkipWithError("deflate did not finish");
                     }
                     state.counters["compressed MB"] = static_cast<double>(z.total_out) / 1e6;
                     deflateEnd(&z);
                 }
             });
}

// The first draw of a window: the surface makes every pixel run and text layout it uses.
void RegisterFirstDraw(const BenchDocument& doc, QSize size) {
    const SmithChrt chart = doc.chart;
    Register(
        "FirstDraw/" + doc.name + "/" + SizeName(size), [chart, size](benchmark::State& state) {
            QImage image = WarmPicture(size);
            for (auto _ : state) {
                CRasterCache cache;
                SmithChrt sc = chart;
                QPainter painter(&image);
                DrawChartOnWindow(sc, painter, size, image.rect(), Clock(), nullptr, 1.0, &cache);
            }
        });
}

// Up and Down in turn, each followed by the repaint it asks for.
void RegisterKeySequence(const BenchDocument& doc, QSize size) {
    const SmithChrt chart = doc.chart;
    Register("Key/" + doc.name + "/" + SizeName(size), [chart, size](benchmark::State& state) {
        ShownView shown(chart, size);
        for (int i = 0; i < kWarmDraws; ++i) {
            shown.view.repaint();
        }
        bool up = true;
        for (auto _ : state) {
            QKeyEvent key(QEvent::KeyPress, up ? Qt::Key_Up : Qt::Key_Down, Qt::NoModifier);
            QApplication::sendEvent(&shown.view, &key);
            shown.view.repaint();
            up = !up;
        }
    });
}

void RegisterPictures(const BenchDocument& doc, const QString& dir) {
    const SmithChrt chart = doc.chart;
    const struct {
        const char* name;
        PictureFormat format;
    } formats[] = {
        {"PNG", PictureFormat::Png}, {"SVG", PictureFormat::Svg}, {"PDF", PictureFormat::Pdf}};
    for (const auto& f : formats) {
        const QString path = QDir(dir).filePath(QStringLiteral("chart.") + f.name);
        const PictureFormat format = f.format;
        Register(
            std::string("Picture/") + f.name + "/" + doc.name + "/" + SizeName(kPictureSize),
            [chart, path, format](benchmark::State& state) {
                for (auto _ : state) {
                    if (!WriteChartPicture(chart, kPictureSize, path, format, Clock())) {
                        state.SkipWithError("the picture was not written");
                        break;
                    }
                }
            },
            true);
    }
}

// Runs a program with the given arguments to its end; false unless it ended with status 0.
bool RunProcess(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    int status = 0;
    return posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 &&
           waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A whole process timed by the clock, run back to back or, with a pause, that long after the
// previous run (the pause not timed), as a user runs the tool now and then.
void RegisterProcess(const std::string& name, const std::vector<std::string>& args,
                     double pauseSeconds = 0) {
    auto* b = benchmark::RegisterBenchmark(name.c_str(), [args,
                                                          pauseSeconds](benchmark::State& state) {
        for (auto _ : state) {
            if (pauseSeconds > 0) {
                usleep(static_cast<useconds_t>(pauseSeconds * 1e6));
            }
            const auto start = std::chrono::steady_clock::now();
            if (!RunProcess(args)) {
                state.SkipWithError((args.front() + " failed").c_str());
                break;
            }
            state.SetIterationTime(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
    });
    b->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
    b->UseManualTime();
    if (pauseSeconds > 0) {
        b->Iterations(2);
    } else {
        b->MinTime(kMinTime);
    }
}

// The command-line tool's whole process: start, read the document, draw, encode, write; the same
// 2 s apart; the readout alone; and the empty Qt program, the least such a process can cost.
void RegisterToolProcess(const BenchDocument& doc, const QString& dir) {
    const std::string document = QDir(dir).filePath(QStringLiteral("chart.qbl")).toStdString();
    const std::string picture = QDir(dir).filePath(QStringLiteral("tool.png")).toStdString();
    if (SaveDocumentFile(document, doc.chart) != DocumentError::None) {
        return;
    }
    const std::string png = "ToolProcess/PNG/" + doc.name + "/" + SizeName(kPictureSize);
    const std::vector<std::string> pngArgs = {QUORBEL_CLI_PATH, document, "-o",
                                              picture,          "--size", SizeName(kPictureSize)};
    RegisterProcess(png, pngArgs);
    RegisterProcess(png + "/2sApart", pngArgs, kPauseSeconds);
    RegisterProcess("ToolProcess/Readout/" + doc.name, {QUORBEL_CLI_PATH, document, "--readout"});
    RegisterProcess("EmptyQtProcess", {QUORBEL_EMPTY_QT_PROGRAM_PATH});
}

// The console output, then every figure's median with its ratio to the replay of the same
// document and size, the lower bounds, and the targets.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    explicit SummaryReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Aggregate || r.aggregate_name != "median" ||
                r.error_occurred) {
                continue;
            }
            const std::string& name = r.run_name.function_name;
            // A PNG is compressed on two threads: its pictures are timed by the clock.
            const bool real = name.rfind("ToolProcess/", 0) == 0 ||
                              name.rfind("Picture/", 0) == 0 || name == "EmptyQtProcess";
            const double t = real ? r.GetAdjustedRealTime() : r.GetAdjustedCPUTime();
            medians[name] = t * 1000.0 / benchmark::GetTimeUnitMultiplier(r.time_unit);
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf(
            "\nMedians of %d interleaved repetitions, thread CPU time in ms (pictures and "
            "the processes: wall time); (x) is the ratio to the replay of the same document and "
            "size, a baseline (the same primitives one painter call each), not a lower bound.\n",
            kRepetitions);
        std::printf("%-13s %-10s %16s %16s %16s %9s %9s %10s\n", "document", "size", "paint",
                    "draw", "plain draw", "replay", "evaluate", "white fill");
        for (const BenchDocument& doc : SuiteDocuments()) {
            for (const QSize size : kSizes) {
                const std::string suffix = "/" + doc.name + "/" + SizeName(size);
                const double replay = Get("Replay" + suffix);
                if (replay == 0) {
                    continue;
                }
                const auto withRatio = [&](const std::string& kind) {
                    if (Get(kind + suffix) == 0) {
                        return std::string("-"); // filtered out
                    }
                    char text[40];
                    std::snprintf(text, sizeof text, "%7.2f (%4.2fx)", Get(kind + suffix),
                                  Get(kind + suffix) / replay);
                    return std::string(text);
                };
                std::printf("%-13s %-10s %16s %16s %16s %9.2f %9.2f %10.2f\n", doc.name.c_str(),
                            SizeName(size).c_str(), withRatio("Paint").c_str(),
                            withRatio("Draw").c_str(), withRatio("PlainDraw").c_str(), replay,
                            Get("Evaluate" + suffix), Get("WhiteFill/" + SizeName(size)));
            }
        }
        std::printf("\n");
        for (const auto& [name, ms] : medians) {
            if (name.rfind("Key/", 0) == 0 || name.rfind("FirstDraw/", 0) == 0 ||
                name.rfind("Picture/", 0) == 0 || name.rfind("ToolProcess/", 0) == 0) {
                std::printf("%-44s %9.2f\n", name.c_str(), ms);
            }
        }
        PrintLowerBounds();
        PrintTargets();
    }

private:
    double Get(const std::string& name) const {
        const auto it = medians.find(name);
        return it == medians.end() ? 0.0 : it->second;
    }

    // What no change of the program can go below: every pixel written once, a Qt program's start,
    // the compression of the PNG rows alone (on one thread: the encoder shares it among two).
    void PrintLowerBounds() const {
        std::printf("\nLower bounds:\n");
        for (const QSize size : kSizes) {
            const std::string fill = "WhiteFill/" + SizeName(size);
            if (medians.count(fill) != 0) {
                std::printf("  %-58s %8.2f ms\n",
                            ("white fill of a picture, " + SizeName(size)).c_str(), Get(fill));
            }
        }
        for (const auto& [name, ms] : medians) {
            if (name == "EmptyQtProcess") {
                std::printf("  %-58s %8.2f ms\n", "an offscreen Qt program that does nothing", ms);
            } else if (name.rfind("Zlib1/", 0) == 0) {
                std::printf("  %-58s %8.2f ms\n",
                            ("zlib level 1 on the PNG rows, one thread, " +
                             name.substr(name.rfind('/') + 1))
                                .c_str(),
                            ms);
            }
        }
    }

    // A target whose figures were all measured (not filtered out).
    void Target(const char* what, bool measured, double figure, double limit,
                const char* unit) const {
        if (measured) {
            std::printf("  %-58s %8.2f %-2s (target <= %g %s): %s\n", what, figure, unit, limit,
                        unit, figure <= limit ? "met" : "MISSED");
        }
    }

    void PrintTargets() const {
        const auto has = [&](const std::string& name) { return medians.count(name) != 0; };
        const std::string paint = "Paint/Mixed25/1920x1080";
        const std::string replay = "Replay/Mixed25/1920x1080";
        const std::string longTraces = "Paint/LongTraces25/1920x1080";
        const std::string large = "Paint/Mixed25/3840x2160";
        const std::string key = "Key/Mixed25/1920x1080";
        const std::string tool = "ToolProcess/PNG/Mixed25/" + SizeName(kPictureSize);
        const std::string toolApart = tool + "/2sApart";
        const std::string readout = "ToolProcess/Readout/Mixed25";
        bool hostileMeasured = false;
        double hostile = -1e9;
        for (const QSize size : kSizes) {
            const std::string h = "Paint/Hostile25/" + SizeName(size);
            const std::string m = "Paint/Mixed25/" + SizeName(size);
            if (has(h) && has(m)) {
                hostileMeasured = true;
                hostile = std::max(hostile, Get(h) - Get(m));
            }
        }
        std::printf("\nTargets (key to screen and start to first paint: window_timing.py):\n");
        Target("25 components, 1920x1080, paint path", has(paint), Get(paint), 2, "ms");
        Target("25 components, 1920x1080, paint path over the replay", has(paint) && has(replay),
               Get(paint) / Get(replay), 0.5, "x");
        Target("25 long traces, 1920x1080, paint path", has(longTraces), Get(longTraces), 20, "ms");
        Target("hostile paint minus 25 components paint, worst size", hostileMeasured, hostile, 1,
               "ms");
        Target("25 components, 3840x2160, paint path", has(large), Get(large), 6, "ms");
        Target("key sequence, 25 components, 1920x1080", has(key), Get(key), 5, "ms");
        Target("tool process, PNG 3840x2160, 25 components", has(tool), Get(tool), 120, "ms");
        Target("tool process, PNG 3840x2160, 25 components, 2 s apart", has(toolApart),
               Get(toolApart), 120, "ms");
        Target("tool process, --readout, 25 components", has(readout), Get(readout), 8, "ms");
    }

    std::map<std::string, double> medians;
};

// --write-documents=DIR: the documents as .qbl files in DIR, named as in the figures.
bool WriteDocuments(const std::string& dir) {
    for (const BenchDocument& doc : SuiteDocuments()) {
        if (SaveDocumentFile(dir + "/" + doc.name + ".qbl", doc.chart) != DocumentError::None) {
            std::fprintf(stderr, "cannot write %s/%s.qbl\n", dir.c_str(), doc.name.c_str());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const std::string writeDocuments = "--write-documents=";
    if (argc == 2 && std::string(argv[1]).rfind(writeDocuments, 0) == 0) {
        return WriteDocuments(std::string(argv[1]).substr(writeDocuments.size())) ? 0 : 1;
    }
    // Off screen unless told otherwise (under Xvfb, QT_QPA_PLATFORM=xcb measures the X path).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const std::vector<BenchDocument> docs = SuiteDocuments();
    for (const BenchDocument& doc : docs) {
        for (const QSize size : kSizes) {
            RegisterRedraws(doc, size);
        }
    }
    const BenchDocument& mixed = docs[1];
    // The same 25 components with every inductor, capacitor and line lossy: traces, readout line
    // and two-port figures; against Paint/Mixed25/1920x1080 it shows what losses cost a redraw.
    BenchDocument lossy = mixed;
    lossy.name = "Mixed25WithLosses";
    lossy.chart.losses.inductorQ = LossSpec{60, 435, LossLaw::Sqrt};
    lossy.chart.losses.capacitorQ = LossSpec{400, 0, LossLaw::Constant};
    lossy.chart.losses.lineLoss = LossSpec{0.2, 435, LossLaw::Sqrt};
    RegisterRedraws(lossy, {1920, 1080});
    RegisterFirstDraw(mixed, {1920, 1080});
    RegisterKeySequence(mixed, {1920, 1080});
    RegisterPictures(mixed, dir.path());
    RegisterToolProcess(mixed, dir.path());
    for (const QSize size : kSizes) {
        RegisterWhiteFill(size);
    }
    RegisterZlibRows(mixed);

    // Repetitions interleaved at random, so that a change of load on the machine spreads over
    // all figures; the user's own flags come after and win.
    std::vector<char*> args{argv[0]};
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.push_back(interleave.data());
    args.insert(args.end(), argv + 1, argv + argc);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    SummaryReporter reporter(isatty(fileno(stdout)) != 0 ? benchmark::ConsoleReporter::OO_Defaults
                                                         : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
