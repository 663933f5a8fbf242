#pragma once

namespace bandora {

// Why a recorded run ended: kept in the run state and stored in run.json.
enum class RunStopReason { LapseEnd, OperatorStop, ProgramClosed, RecordingFailure, CalibrationFailed };

} // namespace bandora
