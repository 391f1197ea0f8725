# The front door: `make test` and `make run`.
.PHONY: all deps host-tools windows windows64 e2e-builds host asan test run fuzz clean

all: windows host

deps:
	scripts/install-deps

# The windows build packs the payload with the host's vantorel-pack, and the
# host programs embed what the windows build packed: tools first, then windows,
# then the rest of the host.
host-tools: deps
	cmake --preset host >/dev/null
	cmake --build --preset host --target vantorel-pack

windows: host-tools
	cmake --preset windows >/dev/null
	cmake --build --preset windows

# The same sources for x86-64: the end-to-end stage runs them under wine64 where the
# kernel cannot execute 32-bit code (tests/e2e/run probes the same way).
windows64: host-tools
	cmake --preset windows64 >/dev/null
	cmake --build --preset windows64

ifeq ($(shell /lib/ld-linux.so.2 --version >/dev/null 2>&1 && echo yes),yes)
e2e-builds: windows
else
e2e-builds: windows windows64
endif

host: windows
	cmake --build --preset host

asan: windows
	cmake --preset host-asan >/dev/null
	cmake --build --preset host-asan

test: host asan e2e-builds
	ctest --preset host-asan -j2

run: host
	build/host/bin/vantorel-setup

fuzz: deps
	scripts/fuzz

clean:
	rm -rf build
