# The front door: `make test` and `make run`.
.PHONY: all deps host-tools windows host asan test run fuzz clean

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

host: windows
	cmake --build --preset host

asan: windows
	cmake --preset host-asan >/dev/null
	cmake --build --preset host-asan

test: host asan
	ctest --preset host-asan -j2

run: host
	build/host/bin/vantorel-setup

fuzz: deps
	scripts/fuzz

clean:
	rm -rf build
