#pragma once

// How a request from outside went: done, refused while the session waits or closes, or ended by
// an error that the standard error box has shown.
enum class RequestOutcome { Done, Busy, Failed };
