// The jobs of xcopy's tree copy and the threads that run them: copies of
// files, which are reported in the order they were handed over, and
// surveys of folders, which the walk waits for. Over a slow link most of a
// copy's time is spent waiting for the server; several jobs at once wait
// together.
//
// What is printed is what a copy of one file after another prints: each
// file's line once it and every file handed over before it have been
// copied, and at the first copy that fails (in that order) its line and
// nothing more. The copies handed over after a failed one are dropped if
// they have not started; those that were already running are let finish,
// and their files stay on disk (with the folders made for them), neither
// printed nor counted: files that a copy of one file after another had not
// reached yet.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace zepo {

class CopyJobs {
 public:
  // A job works on the platform it is given: a Platform serves one thread
  // at a time.
  using Work = std::function<void(Platform&)>;
  struct Job;

  // Thrown by the calls of the walk once a copy has failed: the walk stops.
  struct Stopped {};

  // One worker thread for each of `workers`, which it uses alone. Without
  // any, every job runs on the calling thread on `own`: a copy when it is
  // handed over, a survey when it is waited for. That is the order of work
  // of a copy that does one thing after another.
  CopyJobs(Platform& own, std::vector<std::unique_ptr<Platform>> workers);
  // Drops the jobs not started and waits for the others.
  ~CopyJobs();
  CopyJobs(const CopyJobs&) = delete;
  CopyJobs& operator=(const CopyJobs&) = delete;

  // How many threads run jobs.
  std::size_t threads() const { return workers_.size(); }

  // Hands over the copy of one file, printed as `shown`. Waits while a few
  // copies are queued already.
  void copy(std::string shown, Work work);

  // Starts a survey, run before any queued copy.
  std::shared_ptr<Job> survey(Work work);
  // Waits for the survey; rethrows what it threw.
  void wait(const std::shared_ptr<Job>& survey);

  // Waits until every copy handed over has been made.
  void settle();

  // Waits for everything handed over (a survey that nobody waits for is
  // dropped); the failure of the first copy that failed, in the order they
  // were handed over, or nothing.
  std::exception_ptr finish();

  // The copies made and printed.
  long copied();

 private:
  void serve(Platform& platform);
  void run(Job& job, Platform& platform);
  // With the lock held.
  void finished(Job& job);
  void throwIfStopped();

  Platform& own_;
  std::vector<std::unique_ptr<Platform>> workers_;
  std::vector<std::thread> threads_;

  std::mutex mutex_;
  std::condition_variable queued_;               // for the workers: a job, or the end
  std::condition_variable progress_;             // for the walk: a job finished
  std::deque<std::shared_ptr<Job>> surveys_;     // not started
  std::deque<std::shared_ptr<Job>> copies_;      // not started
  std::deque<std::shared_ptr<Job>> unreported_;  // handed over, not printed yet
  std::exception_ptr failure_;
  long copied_ = 0;
  int running_ = 0;
  bool ending_ = false;
};

}  // namespace zepo
