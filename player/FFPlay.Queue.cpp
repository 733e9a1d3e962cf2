// Packet queues between the read thread and the decoders, and the ring of
// pending position and state events.
#include "player/FFPlay.h"

#include <new>

// ---- Packet queues ---------------------------------------------------------------

void PacketQueueInit(TPacketQueue& q) {
    q.first_pkt = q.last_pkt = nullptr;
    q.nb_packets = 0;
    q.size = 0;
    q.abort_request = 0;
    q.mutex = sdl::SDL_CreateMutex();
    q.cond = sdl::SDL_CreateCond();
}

namespace {

void FreeNode(TPacketNode* ANode) {
    if (ANode->pkt)
        avcodec::av_packet_free(&ANode->pkt);
    delete ANode;
}

int NodeSize(const TPacketNode* ANode) {
    return (ANode->pkt ? ANode->pkt->size : 0) + PacketNodeSize;
}

int Append(TPacketQueue& q, TPacketNode* ANode) {
    sdl::SDL_mutexP(q.mutex);
    if (q.last_pkt)
        q.last_pkt->next = ANode;
    else
        q.first_pkt = ANode;
    q.last_pkt = ANode;
    q.nb_packets += 1;
    q.size += NodeSize(ANode);
    sdl::SDL_CondSignal(q.cond);
    sdl::SDL_mutexV(q.mutex);
    return 0;
}

} // namespace

void PacketQueueFlush(TPacketQueue& q) {
    if (!q.mutex)
        return;
    sdl::SDL_mutexP(q.mutex);
    for (TPacketNode* Node = q.first_pkt; Node;) {
        TPacketNode* Next = Node->next;
        FreeNode(Node);
        Node = Next;
    }
    q.first_pkt = q.last_pkt = nullptr;
    q.nb_packets = 0;
    q.size = 0;
    sdl::SDL_mutexV(q.mutex);
}

void PacketQueueDestroy(TPacketQueue& q) {
    PacketQueueFlush(q);
    if (q.mutex)
        sdl::SDL_DestroyMutex(q.mutex);
    if (q.cond)
        sdl::SDL_DestroyCond(q.cond);
    q.mutex = nullptr;
    q.cond = nullptr;
}

int PacketQueuePut(TPacketQueue& q, AVPacket* APacket) {
    if (avcodec::av_packet_make_refcounted(APacket) < 0)
        return -1;
    auto* Node = new (std::nothrow) TPacketNode;
    if (!Node)
        return -1;
    Node->pkt = avcodec::av_packet_alloc();
    if (!Node->pkt) {
        delete Node;
        return -1;
    }
    avcodec::av_packet_move_ref(Node->pkt, APacket);
    return Append(q, Node);
}

int PacketQueuePutFlush(TPacketQueue& q) {
    auto* Node = new (std::nothrow) TPacketNode;
    if (!Node)
        return -1;
    Node->flush = true;
    return Append(q, Node);
}

void PacketQueueAbort(TPacketQueue& q) {
    if (!q.mutex)
        return;
    sdl::SDL_mutexP(q.mutex);
    q.abort_request = 1;
    sdl::SDL_CondSignal(q.cond);
    sdl::SDL_mutexV(q.mutex);
}

int PacketQueueGet(TPacketQueue& q, AVPacket* APacket, bool& AFlush, bool ABlock) {
    int Result = 0;
    sdl::SDL_mutexP(q.mutex);
    for (;;) {
        if (q.abort_request) {
            Result = -1;
            break;
        }
        TPacketNode* Node = q.first_pkt;
        if (Node) {
            q.first_pkt = Node->next;
            if (!q.first_pkt)
                q.last_pkt = nullptr;
            q.nb_packets -= 1;
            q.size -= NodeSize(Node);
            AFlush = Node->flush;
            if (Node->pkt)
                avcodec::av_packet_move_ref(APacket, Node->pkt);
            FreeNode(Node);
            Result = 1;
            break;
        }
        if (!ABlock)
            break;
        sdl::SDL_CondWait(q.cond, q.mutex);
    }
    sdl::SDL_mutexV(q.mutex);
    return Result;
}

// ---- The event ring ----------------------------------------------------------------

void PushPlayEvent(TPlayEvent& ARing, const TPlayEventItem& AItem) {
    std::lock_guard Lock(ARing.Lock);
    const int Newest = (ARing.Tailer + PlayEventRingSize - 1) % PlayEventRingSize;
    if (ARing.Header == ARing.Tailer || ARing.Events[Newest].kind != AItem.kind) {
        ARing.Tailer = (ARing.Tailer + 1) % PlayEventRingSize;
        if (ARing.Tailer == ARing.Header)
            ARing.Header = (ARing.Header + 1) % PlayEventRingSize;
    }
    ARing.Events[(ARing.Tailer + PlayEventRingSize - 1) % PlayEventRingSize] = AItem;
    ARing.Event.SetEvent();
}

TPlayEventItem PopPlayEvent(TPlayEvent& ARing) {
    std::lock_guard Lock(ARing.Lock);
    if (ARing.Header == ARing.Tailer)
        return {};
    const TPlayEventItem Item = ARing.Events[ARing.Header];
    ARing.Header = (ARing.Header + 1) % PlayEventRingSize;
    if (ARing.Header == ARing.Tailer)
        ARing.Event.ResetEvent();
    return Item;
}

int PlayEventCount(TPlayEvent& ARing) {
    std::lock_guard Lock(ARing.Lock);
    return (ARing.Tailer - ARing.Header + PlayEventRingSize) % PlayEventRingSize;
}
