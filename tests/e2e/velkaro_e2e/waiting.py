"""Waiting for a condition with a deadline: the only way the harness waits."""

import time


class WaitTimeout(AssertionError):
    """A condition did not hold before its deadline."""


def wait_for(condition, timeout, interval=0.01, what="condition"):
    """Polls condition() until it returns a truthy value, which is returned.

    Raises WaitTimeout once `timeout` seconds have passed without it; the last value and
    the last exception raised by the condition are named in the message.
    """
    deadline = time.monotonic() + timeout
    last, error = None, None
    while True:
        try:
            last = condition()
            error = None
            if last:
                return last
        except Exception as e:  # the condition may fail while the state is still changing
            error = e
        if time.monotonic() >= deadline:
            detail = f"last error: {error!r}" if error else f"last value: {last!r}"
            raise WaitTimeout(f"{what} not met within {timeout} s ({detail})")
        time.sleep(interval)
