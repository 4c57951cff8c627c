#include "actions/delete_queue.h"

namespace orvkit {

DeleteQueue::~DeleteQueue() = default;

}  // namespace orvkit
