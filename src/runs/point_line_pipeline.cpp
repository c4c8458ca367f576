#include "runs/point_line_pipeline.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "engine/grid_selection.h"
#include "engine/validity_zone.h"
#include "grids/grid.h"
#include "reports/interactive_log.h"
#include "runs/input_point_file.h"
#include "runs/output_point_file.h"
#include "runs/result_texts.h"

namespace {

// Lines handed to a thread at once: enough that handing them over costs
// little beside computing them, few enough that the lines in flight stay small.
constexpr std::size_t kBatchLines = 64;
constexpr int kMostThreads = 256;

// The current grids as a point's selection left them, copied for the
// threads (a copy shares the grid's binary file and has its own query work
// space).
struct GridCopies {
    CGrille1D vertical;
    CGrille3D translation;
    long long selection = 0;  // counts the copies made in the run, from 1
};

// One line between its reading and its writing.
struct PointLine {
    long long number = 0;  // in the input file
    bool point = false;    // read as a point: its grids were selected
    std::string text;      // the reading's or the selection's text, then the point's result
    CCoor departure, arrival;
    PointOutcome outcome = PointOutcome::Succeeded;
    bool computed = false;
    // Those of the point's selection, kept alive by its batch. A plain
    // pointer: a shared count touched for every line by the reading thread
    // and the computing ones would bounce between their caches.
    const GridCopies* grids = nullptr;
    ZoneLocation location;  // of the departure, when the selection found it
    std::string output, report, log;          // the texts to write, in the files' bytes
};

struct Batch {
    std::vector<PointLine> lines = std::vector<PointLine>(kBatchLines);
    std::size_t count = 0;
    std::vector<std::shared_ptr<const GridCopies>> grids;  // those its lines point at
    bool done = false;  // completed, waiting to be written (guarded by the pipeline's mutex)
};

// The completion of lines on one thread: its own copies of the current
// grids and its own streams that format the lines apart from the files.
class LineCompleter {
public:
    explicit LineCompleter(const PointLineRun& run)
        : run_(run),
          context_{run.grids->catalogue, vertical_,        translation_,
                   run.grids->headers,   run.grids->workingDirectory, nullptr} {
        output_.dataFormat = run.output->dataFormat;
        output_.header = run.output->header;
        output_.HeadersWritten();
        // After the headers count as written: the byte-order mark, like the
        // title row, is the file's own stream's to write.
        output_.SetConventions(run.output->Conventions());
        input_.dataFormat = run.input->dataFormat;
        report_.HeadersWritten();
    }

    void Complete(Batch& batch) {
        for (std::size_t i = 0; i < batch.count; ++i) Complete(batch.lines[i]);
    }

private:
    void Complete(PointLine& line) {
        if (line.point) {
            if (line.grids->selection != held_) {
                held_ = line.grids->selection;
                vertical_ = line.grids->vertical;
                translation_ = line.grids->translation;
            }
            PointResult result =
                CompleteFilePoint(run_.kind, line.departure, line.arrival, context_, run_.texts,
                                  std::move(line.text), &line.location);
            line.outcome = result.outcome;
            line.text = std::move(result.text);
            line.computed = result.computed;
            if (line.computed && run_.log) line.log = LogEntry(line.departure, line.arrival, run_.kind);
        }
        output_.Ecrire_Point(line.departure, line.arrival, run_.kind, line.text,
                             run_.linearAlteration, line.number);
        output_.TakeBuffered(line.output);
        if (run_.report) {
            report_.Ecrire_Rapport(line.departure, line.arrival, input_, output_, run_.kind,
                                   line.text, line.number);
            report_.TakeBuffered(line.report);
        }
    }

    const PointLineRun& run_;
    CGrille1D vertical_;
    CGrille3D translation_;
    long long held_ = 0;  // the selection that vertical_ and translation_ copy
    GridContext context_;
    In_Fic input_;  // not open: the input's layout for the report lines
    Out_Fic output_, report_;
};

class Pipeline {
public:
    explicit Pipeline(const PointLineRun& run)
        : run_(run),
          threads_(std::clamp(run.threads, 1, kMostThreads)),
          // One batch at a time on one thread; otherwise enough that every
          // thread has one while others wait to be written.
          ring_(threads_ == 1 ? 1 : static_cast<std::size_t>(2 * threads_ + 2)),
          own_(run) {}

    ~Pipeline() { StopThreads(); }

    PointLineCounts Run() {
        for (int i = 1; i < threads_; ++i) threads_list_.emplace_back([this] { Work(); });
        long long next = 0;    // batches read
        long long oldest = 0;  // batches written
        bool reading = true;
        bool writing = true;
        while (reading && writing) {
            if (next - oldest == static_cast<long long>(ring_.size())) {
                writing = Finish(oldest++);
                continue;
            }
            Batch& batch = Slot(next);
            reading = Fill(batch);
            if (batch.count > 0) Submit(next++);
        }
        while (writing && oldest < next) writing = Finish(oldest++);
        StopThreads();
        if (writing && !gridFailure_.empty()) {
            counts_.end = PointLinesEnd::GridNotLoaded;
            counts_.message = gridFailure_;
        }
        return counts_;
    }

private:
    Batch& Slot(long long sequence) { return ring_[static_cast<std::size_t>(sequence) % ring_.size()]; }

    // Reads lines into the batch, with their grid selections, until it is
    // full; false once the input has ended or a grid could not be loaded.
    bool Fill(Batch& batch) {
        batch.count = 0;
        batch.grids.clear();
        batch.done = false;
        In_Fic& input = *run_.input;
        while (batch.count < kBatchLines) {
            PointLine& line = batch.lines[batch.count];
            line.departure = run_.departure;
            line.arrival = run_.arrival;
            if (run_.lineRead) run_.lineRead();
            std::string text = input.Lire_Point(line.departure);
            if (text == kResultEnd) return false;
            if (text == kResultComment || text == kResultBlankLine) continue;
            line.number = input.LineNumber();
            line.point = text == kResultOk;
            line.outcome = PointOutcome::Succeeded;
            line.computed = false;
            if (line.point) {
                std::string failure;
                bool changed = false;
                line.location.unprojected = false;
                text = SelectPointGrids(run_.kind, line.departure, line.arrival, *run_.grids,
                                        run_.texts, run_.ui, failure, &changed, &line.location);
                if (!failure.empty()) {
                    // The run stops before this point, as on one thread.
                    gridFailure_ = std::move(failure);
                    return false;
                }
                if (changed || !grids_) {
                    grids_ = std::make_shared<const GridCopies>(GridCopies{
                        run_.grids->verticalGrid, run_.grids->translationGrid, ++selections_});
                }
                if (batch.grids.empty() || batch.grids.back() != grids_) batch.grids.push_back(grids_);
                line.grids = grids_.get();
            }
            line.text = std::move(text);
            ++batch.count;
        }
        return true;
    }

    void Submit(long long sequence) {
        std::lock_guard<std::mutex> lock(mutex_);
        queued_ = sequence + 1;
        work_.notify_one();
    }

    // Waits for the batch, completing on this thread, meanwhile, the batches
    // that no other thread has taken yet (the batch itself first when none
    // has); then writes it. False once a file could not be written.
    bool Finish(long long sequence) {
        Batch& batch = Slot(sequence);
        {
            std::unique_lock<std::mutex> lock(mutex_);
            while (!batch.done) {
                if (taken_ < queued_) {
                    Batch& untaken = Slot(taken_++);
                    lock.unlock();
                    own_.Complete(untaken);
                    lock.lock();
                    untaken.done = true;
                    continue;
                }
                done_.wait(lock, [&batch] { return batch.done; });
            }
        }
        return Write(batch);
    }

    void Work() {
        LineCompleter completer(run_);
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            work_.wait(lock, [this] { return stopping_ || taken_ < queued_; });
            if (taken_ >= queued_) return;  // stopping, nothing left
            Batch& batch = Slot(taken_++);
            lock.unlock();
            completer.Complete(batch);
            lock.lock();
            batch.done = true;
            done_.notify_all();
        }
    }

    void StopThreads() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
            queued_ = taken_;  // what is not taken yet is not needed any more
        }
        work_.notify_all();
        for (std::thread& thread : threads_list_) thread.join();
        threads_list_.clear();
    }

    // Writes the batch's lines in order; false at the first that a file
    // could not take.
    bool Write(Batch& batch) {
        Out_Fic& output = *run_.output;
        Out_Fic* report = run_.report;
        for (std::size_t i = 0; i < batch.count; ++i) {
            PointLine& line = batch.lines[i];
            if (!line.point) {
                ++counts_.refused;
            } else if (line.outcome == PointOutcome::Succeeded) {
                ++counts_.succeeded;
            } else if (line.outcome == PointOutcome::ComputationFailed) {
                ++counts_.failed;
            } else {
                ++counts_.outOfZone;
            }
            if (line.computed && run_.log) run_.log->Write(line.log);
            const TextConventions& conventions = output.Conventions();
            if (output.lineCount == 0 &&
                (output.header || (conventions.Delimited() && conventions.titleRow))) {
                // The file's own stream writes its header or title row before
                // the first line.
                output.Ecrire_Point(line.departure, line.arrival, run_.kind, line.text,
                                    run_.linearAlteration, line.number);
            } else {
                output.WriteBytes(line.output);
                ++output.lineCount;
            }
            if (report) {
                if (report->lineCount == 0) {
                    report->Ecrire_Rapport(line.departure, line.arrival, *run_.input, output,
                                           run_.kind, line.text, line.number);
                } else {
                    report->WriteBytes(line.report);
                    ++report->lineCount;
                }
            }
            if (output.WriteFailed()) {
                counts_.end = PointLinesEnd::OutputWriteFailed;
                return false;
            }
            if (report && report->WriteFailed()) {
                counts_.end = PointLinesEnd::ReportWriteFailed;
                return false;
            }
        }
        return true;
    }

    const PointLineRun& run_;
    const int threads_;
    std::vector<Batch> ring_;
    LineCompleter own_;  // the calling thread's
    std::vector<std::thread> threads_list_;
    std::shared_ptr<const GridCopies> grids_;  // the copies of the last selection
    long long selections_ = 0;                 // copies made
    std::string gridFailure_;
    PointLineCounts counts_;

    std::mutex mutex_;
    std::condition_variable work_, done_;
    long long queued_ = 0;  // batches handed over
    long long taken_ = 0;   // batches a thread has taken
    bool stopping_ = false;
};

}  // namespace

int DefaultRunThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(std::min<unsigned>(cores, kMostThreads));
}

int RunThreads(int configured) {
    return configured <= 0 ? DefaultRunThreads() : std::min(configured, kMostThreads);
}

PointLineCounts RunPointLines(const PointLineRun& run) {
    Pipeline pipeline(run);
    return pipeline.Run();
}
