#pragma once

namespace vantrel {

class AppContext;

namespace bench {

// The context of the window benchmarks, over the build's program folder; made
// after the QApplication of UiBenchMain.
AppContext& context();

} // namespace bench

} // namespace vantrel
